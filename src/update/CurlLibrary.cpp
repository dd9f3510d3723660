// SPDX-License-Identifier: GPL-3.0-or-later
#include "update/CurlLibrary.h"

#include <dlfcn.h>

#include <mutex>

namespace update {

namespace {

// The names libcurl 4 is installed under: its own, and the GnuTLS build's.
constexpr const char* kNames[] = {"libcurl.so.4", "libcurl-gnutls.so.4"};

template <typename Function>
bool Find(void* library, const char* name, Function& into) {
    into = reinterpret_cast<Function>(dlsym(library, name));
    return into != nullptr;
}

const CurlLibrary* Load() {
    void* library = nullptr;
    for (const char* name : kNames) {
        library = dlopen(name, RTLD_NOW | RTLD_LOCAL);
        if (library != nullptr) break;
    }
    if (library == nullptr) return nullptr;
    static CurlLibrary curl;
    decltype(&curl_global_init) globalInit = nullptr;
    // Kept loaded for the process's life: handles and threads of it may outlive any caller.
    const bool complete =
        Find(library, "curl_global_init", globalInit) &&
        Find(library, "curl_easy_init", curl.easy_init) &&
        Find(library, "curl_easy_cleanup", curl.easy_cleanup) &&
        Find(library, "curl_easy_setopt", curl.easy_setopt) &&
        Find(library, "curl_easy_getinfo", curl.easy_getinfo) &&
        Find(library, "curl_multi_init", curl.multi_init) &&
        Find(library, "curl_multi_cleanup", curl.multi_cleanup) &&
        Find(library, "curl_multi_add_handle", curl.multi_add_handle) &&
        Find(library, "curl_multi_remove_handle", curl.multi_remove_handle) &&
        Find(library, "curl_multi_perform", curl.multi_perform) &&
        Find(library, "curl_multi_poll", curl.multi_poll) &&
        Find(library, "curl_multi_info_read", curl.multi_info_read) &&
        Find(library, "curl_slist_append", curl.slist_append) &&
        Find(library, "curl_slist_free_all", curl.slist_free_all);
    if (!complete || globalInit(CURL_GLOBAL_DEFAULT) != CURLE_OK) return nullptr;
    return &curl;
}

}  // namespace

const CurlLibrary* CurlLibrary::Get() {
    static std::once_flag once;
    static const CurlLibrary* loaded = nullptr;
    std::call_once(once, [] { loaded = Load(); });
    return loaded;
}

}  // namespace update

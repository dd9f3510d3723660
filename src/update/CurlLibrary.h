// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// libcurl, loaded by the first request instead of with the program. It brings some two
// dozen libraries of its own (TLS, Kerberos, LDAP, SSH and more), a third of everything the
// program would load at start, and most starts never ask anything of the network.
#include <curl/curl.h>

namespace update {

struct CurlLibrary {
    decltype(&curl_easy_init) easy_init;
    decltype(&curl_easy_cleanup) easy_cleanup;
    decltype(&curl_easy_setopt) easy_setopt;
    decltype(&curl_easy_getinfo) easy_getinfo;
    decltype(&curl_multi_init) multi_init;
    decltype(&curl_multi_cleanup) multi_cleanup;
    decltype(&curl_multi_add_handle) multi_add_handle;
    decltype(&curl_multi_remove_handle) multi_remove_handle;
    decltype(&curl_multi_perform) multi_perform;
    decltype(&curl_multi_poll) multi_poll;
    decltype(&curl_multi_info_read) multi_info_read;
    decltype(&curl_slist_append) slist_append;
    decltype(&curl_slist_free_all) slist_free_all;

    // The library, loaded and set up on the first call (any thread); null when it cannot
    // be loaded or lacks a function, on this and every later call.
    static const CurlLibrary* Get();
};

}  // namespace update

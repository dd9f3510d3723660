// SPDX-License-Identifier: GPL-3.0-or-later
#include "fuzz/FuzzSupport.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "data/JsonDataFile.h"

namespace fuzz {
namespace {

// Made once and never destroyed, so that the exit handler can still remove it.
const std::filesystem::path& ScratchRoot() {
    static const std::filesystem::path* const root = [] {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "tx512-fuzz-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) std::abort();
        auto* made = new std::filesystem::path(pattern);
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(ScratchRoot(), ignored);
        });
        return made;
    }();
    return *root;
}

}  // namespace

void Fail(const char* condition, const char* file, int line) {
    std::fprintf(stderr, "invariant broken: %s (%s:%d)\n", condition, file, line);
    std::abort();
}

std::filesystem::path FreshFolder() {
    const std::filesystem::path folder = ScratchRoot() / "case";
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    std::filesystem::create_directories(folder);
    return folder;
}

void WriteBytes(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    FUZZ_CHECK(out.good());
}

std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

Snapshot TakeSnapshot(const std::filesystem::path& folder) {
    Snapshot files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file())
            files[std::filesystem::relative(entry.path(), folder).string()] =
                ReadBytes(entry.path());
    }
    return files;
}

const std::filesystem::path& SmallKeyboardDefaults() {
    static const std::filesystem::path* const path = [] {
        const JsonDataFile files;
        Json::Value document = files.ReadJsonFile(std::filesystem::path(TX512_SOURCE_DIR) /
                                                  "resources/DefaultData/keyboard.Json");
        Json::Value& section = document["Device"][0];
        for (const char* list : {"KeyList", "LightList"}) {
            Json::Value kept(Json::arrayValue);
            for (Json::ArrayIndex i = 0; i < 8 && i < section[list].size(); ++i)
                kept.append(section[list][i]);
            section[list] = kept;
        }
        section.removeMember("CustomLightMode");
        auto* made = new std::filesystem::path(ScratchRoot() / "keyboard.Json");
        FUZZ_CHECK(files.WriteJsonFile(*made, document));
        return made;
    }();
    return *path;
}

std::pair<std::string_view, std::string_view> SplitAt(std::string_view text,
                                                      std::string_view separator) {
    const std::size_t at = text.find(separator);
    if (at == std::string_view::npos) return {text, {}};
    return {text.substr(0, at), text.substr(at + separator.size())};
}

}  // namespace fuzz

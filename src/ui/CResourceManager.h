// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Process-wide skin resources: the skin folder, the resource index ("res.xml": identifiers
// such as "XML_MAIN" -> layout files), the current language's texts, and image sizes.
// UI thread only.
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <unordered_map>

#include "ui/UIDefs.h"

namespace ui {

class IQueryControlText;

class CResourceManager {
public:
    static CResourceManager& GetInstance();

    // ---- skin folder and resource index
    void SetResourcePath(const std::filesystem::path& folder);
    const std::filesystem::path& GetResourcePath() const { return m_resourcePath; }
    // Reads the index (relative to the skin folder unless absolute). False when the file
    // is missing or not XML; the entries read before stay.
    bool LoadResource(std::string_view indexFile);
    // The file of an identifier of the index, or empty.
    std::string GetXmlPath(std::string_view id) const;
    // A layout given as an identifier or as a path relative to the skin folder ('\' or '/').
    std::filesystem::path ResolveFile(std::string_view nameOrId) const;

    // ---- language
    void SetLanguage(std::string_view name) { m_language = name; }
    const std::string& GetLanguage() const { return m_language; }
    // Replaces the text table with the file's (relative to the skin folder unless absolute).
    // A missing or malformed file leaves an empty table and returns false.
    bool LoadLanguage(std::string_view file);
    void AddText(std::string_view key, std::string_view text);  // one entry, for programs and tests
    bool HasText(std::string_view key) const;
    // The current language's text for `key`; else the query interface's; else the key.
    std::string GetText(std::string_view key, std::string_view type = {}) const;
    void SetTextQueryInterface(IQueryControlText* query) { m_query = query; }
    // Every window lays out and repaints so that texts show the current language.
    void ReloadText();
    int GetTextGeneration() const { return m_textGeneration; }

    // ---- images
    // Pixel size of a skin image (PNG header), or {0,0} when unreadable. Cached.
    Size GetImageSize(std::string_view image) const;
    void SetImageSizeQuery(std::function<Size(const std::filesystem::path&)> query);

    // Forgets everything (index, texts, language, caches).
    void Release();

private:
    CResourceManager() = default;

    std::filesystem::path m_resourcePath;
    std::unordered_map<std::string, std::string> m_xmlIndex;
    std::string m_language;
    std::unordered_map<std::string, std::string> m_texts;
    IQueryControlText* m_query = nullptr;
    int m_textGeneration = 0;
    std::function<Size(const std::filesystem::path&)> m_imageSizeQuery;
    mutable std::map<std::string, Size> m_imageSizes;
};

}  // namespace ui

// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/CResourceManager.h"

#include <pugixml.hpp>

#include <array>
#include <fstream>

#include "platform/Trace.h"
#include "ui/CPaintManagerUI.h"
#include "ui/CControlUI.h"
#include "ui/IQueryControlText.h"

namespace ui {

namespace fs = std::filesystem;

namespace {

// Layouts name files with either separator.
std::string NormaliseSeparators(std::string_view path) {
    std::string out(path);
    for (char& c : out) {
        if (c == '\\') c = '/';
    }
    return out;
}

std::uint32_t BigEndian32(const unsigned char* p) {
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) |
           std::uint32_t{p[3]};
}

Size ReadPngSize(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::array<unsigned char, 24> head{};
    if (!in.read(reinterpret_cast<char*>(head.data()), head.size())) return Size{};
    static constexpr unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    for (int i = 0; i < 8; ++i) {
        if (head[static_cast<size_t>(i)] != kSignature[i]) return Size{};
    }
    std::uint32_t w = BigEndian32(&head[16]);
    std::uint32_t h = BigEndian32(&head[20]);
    if (w > 1u << 20 || h > 1u << 20) return Size{};
    return Size{static_cast<int>(w), static_cast<int>(h)};
}

}  // namespace

CResourceManager& CResourceManager::GetInstance() {
    static CResourceManager manager;
    return manager;
}

void CResourceManager::SetResourcePath(const fs::path& folder) {
    m_resourcePath = folder;
    m_imageSizes.clear();
}

bool CResourceManager::LoadResource(std::string_view indexFile) {
    fs::path file = ResolveFile(indexFile);
    pugi::xml_document doc;
    pugi::xml_parse_result parsed = doc.load_file(file.c_str());
    if (!parsed) {
        platform::TraceF("ui: resource index %s not loaded: %s\n", file.c_str(),
                         parsed.description());
        return false;
    }
    for (pugi::xml_node node : doc.document_element().children()) {
        std::string id = node.attribute("id").as_string();
        std::string path = node.attribute("path").as_string();
        if (id.empty() || path.empty()) continue;
        m_xmlIndex[id] = NormaliseSeparators(path);
    }
    return true;
}

std::string CResourceManager::GetXmlPath(std::string_view id) const {
    auto it = m_xmlIndex.find(std::string(id));
    return it == m_xmlIndex.end() ? std::string() : it->second;
}

fs::path CResourceManager::ResolveFile(std::string_view nameOrId) const {
    std::string name = GetXmlPath(nameOrId);
    if (name.empty()) name = NormaliseSeparators(nameOrId);
    fs::path path(name);
    if (path.is_absolute() || m_resourcePath.empty()) return path;
    return m_resourcePath / path;
}

// ---- language

bool CResourceManager::LoadLanguage(std::string_view file) {
    m_texts.clear();
    ++m_textGeneration;
    fs::path path = ResolveFile(file);
    pugi::xml_document doc;
    pugi::xml_parse_result parsed = doc.load_file(path.c_str());
    if (!parsed) {
        platform::TraceF("ui: language file %s not loaded: %s\n", path.c_str(),
                         parsed.description());
        return false;
    }
    for (pugi::xml_node node : doc.document_element().children("Text")) {
        std::string id = node.attribute("id").as_string();
        if (id.empty()) continue;
        pugi::xml_attribute value = node.attribute("value");
        m_texts[id] = value ? value.as_string() : node.text().as_string();
    }
    return true;
}

void CResourceManager::AddText(std::string_view key, std::string_view text) {
    m_texts[std::string(key)] = std::string(text);
    ++m_textGeneration;
}

bool CResourceManager::HasText(std::string_view key) const {
    return m_texts.count(std::string(key)) != 0;
}

std::string CResourceManager::GetText(std::string_view key, std::string_view type) const {
    auto it = m_texts.find(std::string(key));
    if (it != m_texts.end()) return it->second;
    if (m_query != nullptr) {
        std::string text = m_query->QueryControlText(key, type);
        if (!text.empty()) return text;
    }
    return std::string(key);
}

void CResourceManager::ReloadText() {
    ++m_textGeneration;
    // Texts are translated when read, so a relayout and repaint shows the new language.
    for (CPaintManagerUI* manager : CPaintManagerUI::GetManagers()) {
        if (CControlUI* root = manager->GetRoot()) root->NeedUpdate();
        manager->NeedUpdate();
        manager->Invalidate();
    }
}

// ---- images

Size CResourceManager::GetImageSize(std::string_view image) const {
    std::string name(image);
    auto cached = m_imageSizes.find(name);
    if (cached != m_imageSizes.end()) return cached->second;
    fs::path path = ResolveFile(image);
    Size size = m_imageSizeQuery ? m_imageSizeQuery(path) : ReadPngSize(path);
    m_imageSizes[name] = size;
    return size;
}

void CResourceManager::SetImageSizeQuery(std::function<Size(const fs::path&)> query) {
    m_imageSizeQuery = std::move(query);
    m_imageSizes.clear();
}

void CResourceManager::Release() {
    m_resourcePath.clear();
    m_xmlIndex.clear();
    m_language.clear();
    m_texts.clear();
    m_query = nullptr;
    ++m_textGeneration;
    m_imageSizeQuery = nullptr;
    m_imageSizes.clear();
}

}  // namespace ui

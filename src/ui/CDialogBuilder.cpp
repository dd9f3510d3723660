// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/CDialogBuilder.h"

#include <pugixml.hpp>

#include <filesystem>
#include <map>
#include <memory>
#include <system_error>

#include "platform/Trace.h"
#include "ui/AttributeText.h"
#include "ui/CContainerUI.h"
#include "ui/CControlFactory.h"
#include "ui/CControlUI.h"
#include "ui/CPaintManagerUI.h"
#include "ui/CResourceManager.h"
#include "ui/IDialogBuilderCallback.h"

namespace ui {

namespace fs = std::filesystem;

namespace {

constexpr int kMaxIncludeDepth = 16;  // an include cycle stops here instead of recursing forever

struct CachedLayout {
    fs::file_time_type stamp;
    std::shared_ptr<pugi::xml_document> doc;
};

std::map<std::string, CachedLayout>& Cache() {
    static std::map<std::string, CachedLayout> cache;
    return cache;
}

std::shared_ptr<pugi::xml_document> LoadLayout(std::string_view xml, std::string& error) {
    size_t first = xml.find_first_not_of(" \t\r\n");
    if (first != std::string_view::npos && xml[first] == '<') {
        auto doc = std::make_shared<pugi::xml_document>();
        pugi::xml_parse_result parsed = doc->load_buffer(xml.data(), xml.size());
        if (!parsed) {
            error = std::string("layout text is not XML: ") + parsed.description();
            return nullptr;
        }
        return doc;
    }
    fs::path file = CResourceManager::GetInstance().ResolveFile(xml);
    std::error_code ec;
    fs::file_time_type stamp = fs::last_write_time(file, ec);
    if (ec) {
        error = "layout " + std::string(xml) + " not found at " + file.string();
        return nullptr;
    }
    auto& cache = Cache();
    auto it = cache.find(file.string());
    if (it != cache.end() && it->second.stamp == stamp) return it->second.doc;
    auto doc = std::make_shared<pugi::xml_document>();
    pugi::xml_parse_result parsed = doc->load_file(file.c_str());
    if (!parsed) {
        error = "layout " + file.string() + " is not XML: " + parsed.description();
        return nullptr;
    }
    cache[file.string()] = CachedLayout{stamp, doc};
    return doc;
}

bool IsResourceElement(std::string_view name) {
    return name == "Font" || name == "Default" || name == "Style" || name == "Image" ||
           name == "Include";
}

}  // namespace

void CDialogBuilder::ClearCache() { Cache().clear(); }

CControlUI* CDialogBuilder::Create(std::string_view xml, IDialogBuilderCallback* callback,
                                   CPaintManagerUI* manager, CContainerUI* parent) {
    m_callback = callback;
    m_manager = manager;
    m_lastError.clear();
    std::shared_ptr<pugi::xml_document> doc = LoadLayout(xml, m_lastError);
    if (!doc) {
        platform::TraceF("ui: %s\n", m_lastError.c_str());
        return nullptr;
    }
    pugi::xml_node root = doc->document_element();
    if (root.empty()) {
        m_lastError = "layout " + std::string(xml) + " is empty";
        return nullptr;
    }
    if (std::string_view(root.name()) == "Window") {
        ParseWindow(root);
        return ParseChildren(root, parent);
    }
    return ParseControl(root, parent);
}

void CDialogBuilder::ParseWindow(const pugi::xml_node& node) {
    if (m_manager == nullptr) return;
    for (pugi::xml_attribute a : node.attributes()) {
        std::string_view name = a.name();
        std::string_view value = a.value();
        if (name == "size") m_manager->SetInitSize(attr::ParseSize(value));
        else if (name == "mininfo") m_manager->SetMinInfo(attr::ParseSize(value));
        else if (name == "maxinfo") m_manager->SetMaxInfo(attr::ParseSize(value));
        else if (name == "caption") m_manager->SetCaptionRect(attr::ParseRect(value));
        // Other window attributes (sizebox, roundcorner, ...) belong to the renderer.
    }
}

void CDialogBuilder::ParseFont(const pugi::xml_node& node) {
    if (m_manager == nullptr) return;
    int id = node.attribute("id").as_int(-1);
    std::string face = node.attribute("name").as_string();
    int size = node.attribute("size").as_int(12);
    bool bold = attr::ParseBool(node.attribute("bold").as_string());
    bool underline = attr::ParseBool(node.attribute("underline").as_string());
    bool italic = attr::ParseBool(node.attribute("italic").as_string());
    bool shared = attr::ParseBool(node.attribute("shared").as_string());
    if (id >= 0) m_manager->AddFont(id, face, size, bold, underline, italic, shared);
    if (attr::ParseBool(node.attribute("default").as_string()) || id < 0)
        m_manager->SetDefaultFont(face, size, bold, underline, italic, shared);
}

void CDialogBuilder::ParseDefault(const pugi::xml_node& node) {
    if (m_manager == nullptr) return;
    std::string name = node.attribute("name").as_string();
    if (name.empty()) return;
    m_manager->AddDefaultAttributeList(name, node.attribute("value").as_string(),
                                       attr::ParseBool(node.attribute("shared").as_string()));
}

void CDialogBuilder::ParseStyle(const pugi::xml_node& node) {
    if (m_manager == nullptr) return;
    std::string name = node.attribute("name").as_string();
    if (name.empty()) return;
    m_manager->AddStyle(name, node.attribute("value").as_string(),
                        attr::ParseBool(node.attribute("shared").as_string()));
}

void CDialogBuilder::ParseInclude(const pugi::xml_node& node, CContainerUI* parent) {
    std::string source = node.attribute("source").as_string();
    int count = node.attribute("count").as_int(1);
    if (source.empty() || parent == nullptr) return;
    if (m_includeDepth >= kMaxIncludeDepth) {
        m_lastError = "include of " + source + " nested too deeply";
        platform::TraceF("ui: %s\n", m_lastError.c_str());
        return;
    }
    for (int i = 0; i < count; ++i) {
        CDialogBuilder inner;
        inner.m_includeDepth = m_includeDepth + 1;
        if (inner.Create(source, m_callback, m_manager, parent) == nullptr &&
            !inner.GetLastError().empty()) {
            m_lastError = inner.GetLastError();
        }
    }
}

CControlUI* CDialogBuilder::ParseChildren(const pugi::xml_node& node, CContainerUI* parent) {
    CControlUI* first = nullptr;
    for (pugi::xml_node child : node.children()) {
        if (child.type() != pugi::node_element) continue;
        std::string_view name = child.name();
        if (name == "Font") ParseFont(child);
        else if (name == "Default") ParseDefault(child);
        else if (name == "Style") ParseStyle(child);
        else if (name == "Image") continue;  // images are loaded by the renderer on use
        else if (name == "Include") ParseInclude(child, parent);
        else {
            if (parent == nullptr && first != nullptr) {
                // A tree has one root: further top-level elements would be orphans.
                m_lastError = "element <" + std::string(name) + "> beside the root left out";
                platform::TraceF("ui: %s\n", m_lastError.c_str());
                continue;
            }
            CControlUI* control = ParseControl(child, parent);
            if (first == nullptr) first = control;
        }
    }
    return first;
}

CControlUI* CDialogBuilder::ParseControl(const pugi::xml_node& node, CContainerUI* parent) {
    std::string_view name = node.name();
    if (IsResourceElement(name)) return nullptr;
    CControlUI* control = CControlFactory::GetInstance().CreateControl(name);
    if (control == nullptr && m_callback != nullptr) control = m_callback->CreateControl(name);
    if (control == nullptr) {
        m_lastError = "unknown element <" + std::string(name) + "> left out";
        platform::TraceF("ui: %s\n", m_lastError.c_str());
        return nullptr;
    }
    if (m_manager != nullptr) {
        control->SetManager(m_manager, parent, false);
        if (const std::string* defaults = m_manager->GetDefaultAttributeList(name))
            control->ApplyAttributeList(*defaults);
    }
    for (pugi::xml_attribute a : node.attributes()) control->SetAttribute(a.name(), a.value());

    bool hasChildren = false;
    for (pugi::xml_node child : node.children()) {
        if (child.type() == pugi::node_element) {
            hasChildren = true;
            break;
        }
    }
    if (hasChildren) {
        auto* container = static_cast<CContainerUI*>(control->GetInterface("Container"));
        if (container != nullptr) {
            ParseChildren(node, container);
        } else {
            platform::TraceF("ui: children of <%s> ignored: it holds no controls\n",
                             std::string(name).c_str());
        }
    }
    if (parent != nullptr && !parent->Add(control)) {
        delete control;
        return nullptr;
    }
    return control;
}

}  // namespace ui

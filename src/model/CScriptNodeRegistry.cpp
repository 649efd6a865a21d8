#include "CScriptNodeRegistry.h"

#include <algorithm>
#include <unordered_set>

CScriptNodeRegistry::~CScriptNodeRegistry() {
    ReleaseAll();
}

bool CScriptNodeRegistry::Adopt(xmlNode* node) noexcept {
    if (std::find(m_owned.begin(), m_owned.end(), node) != m_owned.end()) {
        return true;
    }
    try {
        m_owned.push_back(node);
    } catch (...) {
        return false;
    }
    return true;
}

void CScriptNodeRegistry::Mark(xmlNode* node, void* mark) noexcept {
    for (xmlNode* n = node; n;) {
        if (n->type == XML_ELEMENT_NODE) {
            n->_private = mark;
        }
        if (n->children && n->type == XML_ELEMENT_NODE) {
            n = n->children;
            continue;
        }
        while (n && n != node && !n->next) {
            n = n->parent;
        }
        n = (n == node || !n) ? nullptr : n->next;
    }
}

bool CScriptNodeRegistry::AdoptCreated(xmlNode* node) noexcept {
    if (m_created.size() >= kMaxCreatedPerCall) {
        return false;
    }
    try {
        m_owned.reserve(m_owned.size() + 1);
        m_created.push_back(node);
        m_owned.push_back(node);
    } catch (...) {
        if (!m_created.empty() && m_created.back() == node) {
            m_created.pop_back();
        }
        return false;
    }
    Mark(node, this);
    return true;
}

bool CScriptNodeRegistry::SubtreeCreatedThisCall(const xmlNode* node) const noexcept {
    if (!IsCreatedThisCall(node)) {
        return false;
    }
    for (const xmlNode* child = node->children; child; child = child->next) {
        if (child->type == XML_ELEMENT_NODE && !SubtreeCreatedThisCall(child)) {
            return false;
        }
    }
    return true;
}

void CScriptNodeRegistry::EndGeneration(const std::vector<xmlNode*>& returned) noexcept {
    ++m_generation;
    try {
        std::vector<xmlNode*> kept;
        std::vector<xmlNode*> doomed;
        for (xmlNode* node : m_owned) {
            if (node->parent != nullptr) {
                continue;  // linked into a tree again: that tree owns it
            }
            const bool isReturned =
                std::find(returned.begin(), returned.end(), node) != returned.end();
            if (!isReturned && node->type == XML_ELEMENT_NODE && SubtreeCreatedThisCall(node)) {
                doomed.push_back(node);
            } else {
                kept.push_back(node);
            }
        }
        const std::unordered_set<const xmlNode*> doomedRoots(doomed.begin(), doomed.end());
        std::unordered_set<const xmlNode*> inDoomed;
        for (const xmlNode* created : m_created) {
            const xmlNode* top = created;
            while (top->parent) {
                top = top->parent;
            }
            if (doomedRoots.count(top)) {
                inDoomed.insert(created);
            }
        }
        // Whatever survives the call may be seen by the program from now on.
        for (xmlNode* created : m_created) {
            if (!inDoomed.count(created)) {
                Mark(created, nullptr);
            }
        }
        m_created.clear();
        m_owned.swap(kept);
        for (xmlNode* node : doomed) {
            xmlFreeNode(node);
        }
    } catch (...) {
        // Out of memory while sorting: keep everything (ReleaseAll frees it), forget the marks.
        for (xmlNode* created : m_created) {
            Mark(created, nullptr);
        }
        m_created.clear();
    }
}

void CScriptNodeRegistry::ReleaseAll() noexcept {
    EndGeneration();
    for (xmlNode* node : m_owned) {
        if (node->parent == nullptr) {
            xmlFreeNode(node);  // also frees attribute nodes
        }
    }
    m_owned.clear();
}

std::size_t CScriptNodeRegistry::DetachedCount() const noexcept {
    return static_cast<std::size_t>(std::count_if(
        m_owned.begin(), m_owned.end(), [](const xmlNode* node) { return !node->parent; }));
}

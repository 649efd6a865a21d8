#pragma once

#include <libxml/tree.h>

#include <cstddef>
#include <cstdint>
#include <vector>

// The script engine's bookkeeping of DOM nodes outside any tree.
//
// Scripts only unlink nodes (a removed node may be appended again), and the program may still
// hold a node a script removed (a view's data item, say). So a node that was ever visible to the
// program stays allocated, detached, until ReleaseAll: the owner of the documents calls it before
// freeing them. Only scratch nodes that a call created and left out of every tree, and that the
// program never saw, are freed when the call ends.
//
// Script references to nodes are only valid during the call that made them: every call ends a
// generation, and a reference of an older generation is refused.
class CScriptNodeRegistry {
  public:
    // How many nodes one call may create (a runaway loop cannot fill memory with them).
    static constexpr std::size_t kMaxCreatedPerCall = 100'000;

    CScriptNodeRegistry() = default;
    CScriptNodeRegistry(const CScriptNodeRegistry&) = delete;
    CScriptNodeRegistry& operator=(const CScriptNodeRegistry&) = delete;
    ~CScriptNodeRegistry();

    std::uint64_t Generation() const noexcept { return m_generation; }

    // Takes a node that is about to be unlinked from its tree. False when memory runs out: the
    // caller must then leave the node where it is.
    bool Adopt(xmlNode* node) noexcept;

    // Takes a node (with its subtree) that the running call created. False when memory runs out
    // or the call created too many nodes: the caller frees it.
    bool AdoptCreated(xmlNode* node) noexcept;

    // Ends the current generation. Frees the detached nodes the call created whose whole subtree
    // is made of nodes created by the call, except those in returned (handed to the program).
    void EndGeneration(const std::vector<xmlNode*>& returned = {}) noexcept;

    // Frees every owned node that is still outside a tree.
    void ReleaseAll() noexcept;

    // Nodes kept outside any tree.
    std::size_t DetachedCount() const noexcept;

  private:
    bool IsCreatedThisCall(const xmlNode* node) const noexcept { return node->_private == this; }
    bool SubtreeCreatedThisCall(const xmlNode* node) const noexcept;
    void Mark(xmlNode* node, void* mark) noexcept;

    std::uint64_t m_generation = 1;
    std::vector<xmlNode*> m_owned;    // detached roots (or former ones)
    std::vector<xmlNode*> m_created;  // nodes created by the running call (marked via _private)
};

#pragma once

// The kinds of node in the shelf tree and the workspace slots they map to.
// They sit below modules, workspaces and app so that each of those can name a
// node without depending on the others.

namespace modshelf::tree {

// Kinds of tree node. 1 to 15 are the numbered workspaces.
namespace node {
inline constexpr int kNone = -1;
inline constexpr int kResourceFolder = 16;
inline constexpr int kUserFilesFolder = 17;
inline constexpr int kDriveOrFolder = 18;
inline constexpr int kAllModules = 19;       // <A>
inline constexpr int kCurrentSettings = 20;  // <C>
inline constexpr bool isNumberedWorkspace(int kind) {
    return kind >= 1 && kind <= 15;
}
inline constexpr bool isWorkspace(int kind) {
    return isNumberedWorkspace(kind) || kind == kAllModules || kind == kCurrentSettings;
}
}  // namespace node

// The seventeen workspaces are addressed by slot: 0 to 14 are <01> to <15>,
// 15 is <A> and 16 is <C>.
inline constexpr int kWorkspaceSlots = 17;
inline constexpr int kSlotAll = 15;
inline constexpr int kSlotCurrent = 16;
// The slot of a workspace node kind, or -1 for a folder node.
inline constexpr int workspaceSlot(int nodeKind) {
    if (node::isNumberedWorkspace(nodeKind)) return nodeKind - 1;
    if (nodeKind == node::kAllModules) return kSlotAll;
    if (nodeKind == node::kCurrentSettings) return kSlotCurrent;
    return -1;
}

}  // namespace modshelf::tree

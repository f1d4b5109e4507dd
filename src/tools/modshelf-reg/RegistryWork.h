#pragma once

// The registry work of modshelf-reg.exe, through the wide Win32 registry API.

#include <string>
#include <vector>

#include "platform/linux/RegistryHelperProtocol.h"

namespace modshelf::reghelper {

// Appends the key and its whole subtree as regedit export text (UTF-8) to
// `out`, header included. False with a message when the key cannot be read.
bool exportTree(const std::string& keyPath, std::string& out, std::string& error);

// The key and its whole subtree in Wine's own registry file form, written by
// the server in one step (far quicker than reading value by value). False
// with a message when the registry refuses it (it needs the backup privilege).
bool saveTree(const std::string& keyPath, std::string& out, std::string& error);

// Makes the edits in order; each refused one is listed with its error code.
// A key or value that is already gone counts as removed.
std::vector<Failure> applyEdits(const std::vector<Edit>& edits);

}  // namespace modshelf::reghelper

#pragma once

#include <sqlite3.h>
#include <sys/stat.h>

#include <string>

namespace modshelf::modules {

// The VFS every module is read through. It opens nothing but regular files
// (opening a FIFO waits for a writer), opens a module's side files read-only,
// creates no file, and takes a module's path as it is given: absolute, its
// last component no link. Null if SQLite has no VFS at all.
sqlite3_vfs* guardedVfs();

// A module file this thread has just looked at and found to be a regular
// file. While it is the thread's checked module, any file SQLite opens on this
// thread must be a regular file (checked on the opened file, without waiting
// on a FIFO), and:
//  - SQLite's open of `path` takes `descriptor`, when there is one, instead
//    of opening the name again, so the file read is the file looked at;
//  - SQLite's stat of `path`, which only tells a writer whether the file was
//    renamed while open, is answered with `info`;
//  - with `walAbsent`, SQLite's question whether a -wal file is there is
//    answered from the look taken a moment before.
// A descriptor SQLite did not take is closed with the CheckedModule.
struct CheckedModule {
    CheckedModule() = default;
    ~CheckedModule();
    CheckedModule(const CheckedModule&) = delete;
    CheckedModule& operator=(const CheckedModule&) = delete;

    std::string path;
    int descriptor = -1;
    struct stat info = {};
    bool walAbsent = false;
};

// Makes a module this thread's checked module for the scope's life.
class CheckedModuleScope {
public:
    explicit CheckedModuleScope(CheckedModule& module);
    ~CheckedModuleScope();
    CheckedModuleScope(const CheckedModuleScope&) = delete;
    CheckedModuleScope& operator=(const CheckedModuleScope&) = delete;

private:
    CheckedModule* previous_;
};

}  // namespace modshelf::modules

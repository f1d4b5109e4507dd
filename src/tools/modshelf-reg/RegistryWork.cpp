#include "RegistryWork.h"

#include <windows.h>

#include <cstdio>
#include <map>

#include "core/settings/Utf16.h"

namespace modshelf::reghelper {

namespace {

using settings::utf16ToUtf8;
using settings::utf8ToUtf16;

// Wide strings are UTF-16 on Windows, so the store's conversions serve as they are:
// the same lossless mapping as on the Linux side.
std::wstring wide(const std::string& text) {
    const std::u16string units = utf8ToUtf16(text);
    return std::wstring(units.begin(), units.end());
}

std::string narrow(const wchar_t* text, std::size_t length) {
    return utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(text), length));
}

std::string narrow(const std::wstring& text) {
    return narrow(text.data(), text.size());
}

struct RootName {
    const char* longName;
    const char* shortName;
    HKEY key;
};

const RootName kRoots[] = {
    {"HKEY_CURRENT_USER", "HKCU", HKEY_CURRENT_USER},
    {"HKEY_LOCAL_MACHINE", "HKLM", HKEY_LOCAL_MACHINE},
    {"HKEY_CLASSES_ROOT", "HKCR", HKEY_CLASSES_ROOT},
    {"HKEY_USERS", "HKU", HKEY_USERS},
    {"HKEY_CURRENT_CONFIG", "HKCC", HKEY_CURRENT_CONFIG},
};

bool sameAscii(const std::string& a, const char* b) {
    return _stricmp(a.c_str(), b) == 0;
}

// "HKEY_CURRENT_USER\Software\X" into its root and "Software\X" (wide).
bool splitKey(const std::string& keyPath, HKEY& root, std::string& rootName, std::wstring& sub) {
    const std::size_t slash = keyPath.find('\\');
    const std::string head = keyPath.substr(0, slash);
    for (const auto& candidate : kRoots) {
        if (sameAscii(head, candidate.longName) || sameAscii(head, candidate.shortName)) {
            root = candidate.key;
            rootName = candidate.longName;
            std::string rest =
                slash == std::string::npos ? std::string() : keyPath.substr(slash + 1);
            while (!rest.empty() && rest.back() == '\\') rest.pop_back();
            sub = wide(rest);
            return true;
        }
    }
    return false;
}

// The same for a whole-branch request, which says why a key cannot be split.
bool splitKey(const std::string& keyPath, HKEY& root, std::string& rootName, std::wstring& sub,
              std::string& error) {
    if (splitKey(keyPath, root, rootName, sub)) return true;
    error = "\"" + keyPath + "\" does not begin with the name of a registry root.";
    return false;
}

// Quoted as the export reader expects: backslash and quote escaped, and line
// ends too, so that every value stays on its line.
void appendQuoted(std::string& out, const std::string& text) {
    out += '"';
    for (char c : text) {
        if (c == '\\' || c == '"') {
            out += '\\';
            out += c;
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\0') {
            out += "\\0";
        } else {
            out += c;
        }
    }
    out += '"';
}

// A REG_SZ that the quoted form carries exactly: one final NUL, nothing
// below a space before it.
bool fitsQuotedForm(DWORD type, const BYTE* data, DWORD size) {
    if (type != REG_SZ || size < 2 || size % 2 != 0) return false;
    const auto* units = reinterpret_cast<const wchar_t*>(data);
    const DWORD count = size / 2;
    if (units[count - 1] != 0) return false;
    for (DWORD i = 0; i + 1 < count; ++i)
        if (units[i] < 0x20) return false;
    return true;
}

void appendValue(std::string& out, const wchar_t* name, DWORD nameLength, DWORD type,
                 const BYTE* data, DWORD size) {
    if (nameLength == 0)
        out += '@';
    else
        appendQuoted(out, narrow(name, nameLength));
    out += '=';
    char buffer[24];
    if (fitsQuotedForm(type, data, size)) {
        appendQuoted(out, narrow(reinterpret_cast<const wchar_t*>(data), size / 2 - 1));
    } else if (type == REG_DWORD && size == 4) {
        DWORD number = 0;
        memcpy(&number, data, 4);
        std::snprintf(buffer, sizeof buffer, "dword:%08lx", static_cast<unsigned long>(number));
        out += buffer;
    } else {
        if (type == REG_BINARY) {
            out += "hex:";
        } else {
            std::snprintf(buffer, sizeof buffer, "hex(%lx):", static_cast<unsigned long>(type));
            out += buffer;
        }
        static const char digits[] = "0123456789abcdef";
        for (DWORD i = 0; i < size; ++i) {
            if (i) out += ',';
            out += digits[data[i] >> 4];
            out += digits[data[i] & 15];
        }
    }
    out += "\r\n";
}

bool hasLineEnd(const std::string& text) {
    return text.find_first_of("\r\n") != std::string::npos;
}

// One key and, depth first, its subkeys.
LSTATUS exportKey(HKEY root, const std::string& fullName, const std::wstring& sub,
                  std::string& out) {
    HKEY key = nullptr;
    LSTATUS status = RegOpenKeyExW(root, sub.c_str(), 0, KEY_READ | KEY_WOW64_64KEY, &key);
    if (status != ERROR_SUCCESS) return status;
    out += "\r\n[" + fullName + "]\r\n";

    DWORD subkeys = 0, longestSubkey = 0, values = 0, longestName = 0, largestData = 0;
    RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subkeys, &longestSubkey, nullptr, &values,
                     &longestName, &largestData, nullptr, nullptr);
    std::vector<wchar_t> name(longestName + 2);
    std::vector<BYTE> data(largestData + 2);
    for (DWORD index = 0;; ++index) {
        DWORD nameLength = static_cast<DWORD>(name.size());
        DWORD size = static_cast<DWORD>(data.size());
        DWORD type = 0;
        status =
            RegEnumValueW(key, index, name.data(), &nameLength, nullptr, &type, data.data(), &size);
        if (status == ERROR_MORE_DATA) {  // it grew while we read
            name.resize(name.size() * 2 + 256);
            data.resize(std::max<std::size_t>(data.size() * 2, size + 2));
            --index;
            continue;
        }
        if (status != ERROR_SUCCESS) break;
        appendValue(out, name.data(), nameLength, type, data.data(), size);
    }

    std::vector<std::wstring> children;
    std::vector<wchar_t> child(longestSubkey + 2);
    for (DWORD index = 0;; ++index) {
        DWORD length = static_cast<DWORD>(child.size());
        status =
            RegEnumKeyExW(key, index, child.data(), &length, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_MORE_DATA) {
            child.resize(child.size() * 2 + 256);
            --index;
            continue;
        }
        if (status != ERROR_SUCCESS) break;
        children.emplace_back(child.data(), length);
    }
    RegCloseKey(key);

    for (const auto& name : children) {
        const std::string childName = narrow(name);
        // A key name with a line end cannot be written in this text (nor in
        // Windows' own export); such a subtree is left out.
        if (hasLineEnd(childName)) continue;
        exportKey(root, fullName + "\\" + childName, sub.empty() ? name : sub + L"\\" + name, out);
    }
    return ERROR_SUCCESS;
}

std::string describeStatus(LSTATUS status) {
    if (status == ERROR_FILE_NOT_FOUND) return "it does not exist";
    if (status == ERROR_ACCESS_DENIED) return "access was denied";
    return "error " + std::to_string(status);
}

// Keys written to stay open for the whole edit set: an activation sets
// thousands of values in turn in a handful of keys.
class KeyCache {
public:
    ~KeyCache() { close(); }
    // Opens the key, creating it and its parents when `create` is set.
    LSTATUS open(const std::string& keyPath, bool create, HKEY& key) {
        if (const auto found = handles_.find(keyPath); found != handles_.end()) {
            key = found->second;
            return ERROR_SUCCESS;
        }
        if (handles_.size() >= 64) close();
        HKEY root = nullptr;
        std::string rootName;
        std::wstring sub;
        if (!splitKey(keyPath, root, rootName, sub)) return ERROR_INVALID_PARAMETER;
        const REGSAM access = KEY_ALL_ACCESS | KEY_WOW64_64KEY;
        HKEY handle = nullptr;
        const LSTATUS status =
            create ? RegCreateKeyExW(root, sub.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access,
                                     nullptr, &handle, nullptr)
                   : RegOpenKeyExW(root, sub.c_str(), 0, access, &handle);
        if (status != ERROR_SUCCESS) return status;
        handles_.emplace(keyPath, handle);
        key = handle;
        return ERROR_SUCCESS;
    }
    void close() {
        for (const auto& entry : handles_) RegCloseKey(entry.second);
        handles_.clear();
    }

private:
    std::map<std::string, HKEY> handles_;
};

LSTATUS deleteTree(const std::string& keyPath) {
    HKEY root = nullptr;
    std::string rootName;
    std::wstring sub;
    if (!splitKey(keyPath, root, rootName, sub)) return ERROR_INVALID_PARAMETER;
    if (sub.empty()) return ERROR_ACCESS_DENIED;  // never a whole root
    HKEY parent = nullptr;
    const std::size_t slash = sub.rfind(L'\\');
    const std::wstring parentPath = slash == std::wstring::npos ? L"" : sub.substr(0, slash);
    const std::wstring leaf = slash == std::wstring::npos ? sub : sub.substr(slash + 1);
    LSTATUS status =
        RegOpenKeyExW(root, parentPath.c_str(), 0, KEY_ALL_ACCESS | KEY_WOW64_64KEY, &parent);
    if (status == ERROR_FILE_NOT_FOUND) return ERROR_SUCCESS;
    if (status != ERROR_SUCCESS) return status;
    status = RegDeleteTreeW(parent, leaf.c_str());
    RegCloseKey(parent);
    return status == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : status;
}

// The last export is kept while the registry tells that nothing below its key
// has changed: reading a whole branch takes a server request per value, and
// Modshelf reads the user's branch again for every check it makes.
class ExportCache {
public:
    bool serve(const std::string& keyPath, std::string& out) {
        if (!watched_ || keyPath != keyPath_ || WaitForSingleObject(changed_, 0) != WAIT_TIMEOUT)
            return false;
        out += text_;
        return true;
    }
    // Watches the key from now on; the text is kept only if it is read after
    // the watch began, so that no change can slip in between.
    void watch(HKEY root, const std::wstring& sub, const std::string& keyPath) {
        forget();
        if (!changed_) changed_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        if (!changed_) return;
        ResetEvent(changed_);
        if (RegOpenKeyExW(root, sub.c_str(), 0, KEY_NOTIFY | KEY_WOW64_64KEY, &watched_) !=
            ERROR_SUCCESS) {
            watched_ = nullptr;
            return;
        }
        if (RegNotifyChangeKeyValue(watched_, TRUE,
                                    REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_LAST_SET, changed_,
                                    TRUE) != ERROR_SUCCESS) {
            forget();
            return;
        }
        keyPath_ = keyPath;
    }
    void keep(const std::string& text) {
        if (watched_) text_ = text;
    }
    void forget() {
        if (watched_) RegCloseKey(watched_);
        watched_ = nullptr;
        keyPath_.clear();
        text_.clear();
    }

private:
    HKEY watched_ = nullptr;
    HANDLE changed_ = nullptr;
    std::string keyPath_;
    std::string text_;
};

ExportCache exportCache;

}  // namespace

bool exportTree(const std::string& keyPath, std::string& out, std::string& error) {
    if (exportCache.serve(keyPath, out)) return true;
    HKEY root = nullptr;
    std::string rootName;
    std::wstring sub;
    if (!splitKey(keyPath, root, rootName, sub, error)) return false;
    std::string fullName = rootName;
    if (!sub.empty()) fullName += "\\" + narrow(sub);
    exportCache.watch(root, sub, keyPath);
    std::string text = "Windows Registry Editor Version 5.00\r\n";
    const LSTATUS status = exportKey(root, fullName, sub, text);
    if (status != ERROR_SUCCESS) {
        exportCache.forget();
        error =
            "The registry key " + fullName + " could not be read: " + describeStatus(status) + ".";
        return false;
    }
    exportCache.keep(text);
    out += text;
    return true;
}

namespace {

// Saving a key to a file asks for the backup privilege, which the user's token
// holds but does not have enabled.
bool enableBackupPrivilege() {
    static const bool enabled = [] {
        HANDLE token = nullptr;
        if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token))
            return false;
        TOKEN_PRIVILEGES privileges{};
        privileges.PrivilegeCount = 1;
        privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
        const bool ok =
            LookupPrivilegeValueW(nullptr, L"SeBackupPrivilege", &privileges.Privileges[0].Luid) &&
            AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr) &&
            GetLastError() == ERROR_SUCCESS;
        CloseHandle(token);
        return ok;
    }();
    return enabled;
}

bool readWholeFile(const std::wstring& file, std::string& out) {
    const HANDLE handle = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    char chunk[65536];
    DWORD got = 0;
    bool ok = true;
    while ((ok = ReadFile(handle, chunk, sizeof chunk, &got, nullptr)) && got > 0)
        out.append(chunk, got);
    CloseHandle(handle);
    return ok;
}

}  // namespace

bool saveTree(const std::string& keyPath, std::string& out, std::string& error) {
    HKEY root = nullptr;
    std::string rootName;
    std::wstring sub;
    if (!splitKey(keyPath, root, rootName, sub, error)) return false;
    if (!enableBackupPrivilege()) {
        error = "The registry cannot be saved without the backup privilege.";
        return false;
    }
    wchar_t folder[MAX_PATH + 1], file[MAX_PATH + 1];
    if (!GetTempPathW(MAX_PATH, folder) || !GetTempFileNameW(folder, L"msr", 0, file)) {
        error = "No temporary file could be made inside the Wine prefix.";
        return false;
    }
    DeleteFileW(file);  // the registry writes only a file of its own making
    HKEY key = nullptr;
    LSTATUS status = RegOpenKeyExW(root, sub.c_str(), 0, KEY_READ | KEY_WOW64_64KEY, &key);
    if (status == ERROR_SUCCESS) {
        status = RegSaveKeyExW(key, file, nullptr, REG_LATEST_FORMAT);
        RegCloseKey(key);
    }
    std::string text;
    const bool read = status == ERROR_SUCCESS && readWholeFile(file, text);
    DeleteFileW(file);
    if (status != ERROR_SUCCESS) {
        error =
            "The registry key " + keyPath + " could not be saved: " + describeStatus(status) + ".";
        return false;
    }
    if (!read) {
        error = "The saved registry could not be read back inside the Wine prefix.";
        return false;
    }
    out += text;
    return true;
}

std::vector<Failure> applyEdits(const std::vector<Edit>& edits) {
    // Our own changes would tell the watch as well; this makes it certain.
    exportCache.forget();
    std::vector<Failure> failures;
    KeyCache cache;
    for (std::size_t index = 0; index < edits.size(); ++index) {
        const Edit& edit = edits[index];
        LSTATUS status = ERROR_SUCCESS;
        HKEY key = nullptr;
        switch (edit.op) {
            case Edit::Op::CreateKey:
                status = cache.open(edit.key, true, key);
                break;
            case Edit::Op::SetValue:
                status = cache.open(edit.key, true, key);
                if (status == ERROR_SUCCESS) {
                    const std::wstring name = wide(edit.name);
                    status = RegSetValueExW(key, name.c_str(), 0, edit.type,
                                            reinterpret_cast<const BYTE*>(edit.data.data()),
                                            static_cast<DWORD>(edit.data.size()));
                }
                break;
            case Edit::Op::DeleteValue:
                status = cache.open(edit.key, false, key);  // a missing key is not made
                if (status == ERROR_FILE_NOT_FOUND) {
                    status = ERROR_SUCCESS;
                } else if (status == ERROR_SUCCESS) {
                    const std::wstring name = wide(edit.name);
                    status = RegDeleteValueW(key, name.c_str());
                    if (status == ERROR_FILE_NOT_FOUND) status = ERROR_SUCCESS;
                }
                break;
            case Edit::Op::DeleteKey:
                // A handle below the deleted key would go stale.
                cache.close();
                status = deleteTree(edit.key);
                break;
        }
        if (status != ERROR_SUCCESS)
            failures.push_back({index, static_cast<std::uint32_t>(status)});
    }
    return failures;
}

}  // namespace modshelf::reghelper

#include "core/modules/DetailsFileReader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <functional>
#include <vector>

#include "core/host/HostInterface.h"
#include "core/settings/RegistryTypes.h"

namespace modshelf::modules {

namespace {

// Anything larger than this is left to SQLite.
constexpr std::size_t kMaxPayload = 16u << 20;
constexpr int kMaxDepth = 24;
constexpr std::size_t kFirstRead = 16384;

std::uint32_t be16(const unsigned char* p) {
    return (std::uint32_t(p[0]) << 8) | p[1];
}
std::uint32_t be32(const unsigned char* p) {
    return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8) |
           p[3];
}

// A SQLite varint at p, within end; false when it runs past end.
bool varint(const unsigned char*& p, const unsigned char* end, std::uint64_t& value) {
    value = 0;
    for (int i = 0; i < 9; ++i) {
        if (p >= end) return false;
        const unsigned char byte = *p++;
        if (i == 8) {
            value = (value << 8) | byte;
            return true;
        }
        value = (value << 7) | (byte & 0x7f);
        if (!(byte & 0x80)) return true;
    }
    return true;
}

class DatabaseFile {
public:
    explicit DatabaseFile(const std::string& path)
        : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {}
    ~DatabaseFile() {
        if (fd_ >= 0) ::close(fd_);
    }
    DatabaseFile(const DatabaseFile&) = delete;
    DatabaseFile& operator=(const DatabaseFile&) = delete;

    bool open() {
        struct stat info;
        if (fd_ < 0 || ::fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode)) return false;
        fileSize_ = static_cast<std::uint64_t>(info.st_size);
        head_.resize(std::min<std::uint64_t>(kFirstRead, fileSize_));
        if (head_.size() < 100 || !readAt(0, head_.data(), head_.size())) return false;
        const unsigned char* h = head_.data();
        if (std::memcmp(h, "SQLite format 3", 16) != 0) return false;
        pageSize_ = be16(h + 16);
        if (pageSize_ == 1) pageSize_ = 65536;
        if (pageSize_ < 512 || (pageSize_ & (pageSize_ - 1)) != 0) return false;
        usable_ = pageSize_ - h[20];
        if (usable_ < 480) return false;
        if (h[18] < 1 || h[18] > 2 || h[19] < 1 || h[19] > 2) return false;
        const std::uint32_t schemaFormat = be32(h + 44);
        if (schemaFormat < 1 || schemaFormat > 4) return false;
        if (be32(h + 56) != 1) return false;  // text encoding: UTF-8 only
        pageCount_ = fileSize_ / pageSize_;
        return pageCount_ >= 1;
    }

    // Page `number` (from 1) into `page`.
    bool page(std::uint32_t number, std::vector<unsigned char>& page) {
        if (number < 1 || number > pageCount_ || ++pagesRead_ > 4096) return false;
        page.resize(pageSize_);
        const std::uint64_t offset = std::uint64_t(number - 1) * pageSize_;
        if (offset + pageSize_ <= head_.size()) {
            std::memcpy(page.data(), head_.data() + offset, pageSize_);
            return true;
        }
        return readAt(offset, page.data(), pageSize_);
    }

    std::uint32_t usable() const { return usable_; }

private:
    bool readAt(std::uint64_t offset, unsigned char* buffer, std::size_t length) {
        std::size_t done = 0;
        while (done < length) {
            const ssize_t got =
                ::pread(fd_, buffer + done, length - done, static_cast<off_t>(offset + done));
            if (got <= 0) return false;
            done += static_cast<std::size_t>(got);
        }
        return true;
    }

    int fd_;
    std::uint64_t fileSize_ = 0;
    std::uint32_t pageSize_ = 0;
    std::uint32_t usable_ = 0;
    std::uint64_t pageCount_ = 0;
    int pagesRead_ = 0;
    std::vector<unsigned char> head_;
};

// One field of a record, as sqlite3_column_text would give it.
struct Field {
    bool null = true;
    std::string text;
};

class TableReader {
public:
    explicit TableReader(DatabaseFile& file) : file_(file) {}

    // Calls visit(payload) for each row of the table b-tree at `root`, in
    // rowid order, until it returns false. False when the tree is damaged.
    // A std::function rather than a template: each level wraps the visitor
    // in a new lambda, which a template would instantiate without end.
    using Visit = std::function<bool(const std::string& payload)>;
    bool scan(std::uint32_t root, const Visit& visit, int depth = 0) {
        if (depth > kMaxDepth) return false;
        std::vector<unsigned char> page;
        if (!file_.page(root, page)) return false;
        const std::size_t headerAt = root == 1 ? 100 : 0;
        const unsigned char* h = page.data() + headerAt;
        const unsigned char type = h[0];
        const std::uint32_t cells = be16(h + 3);
        const std::size_t pointers = headerAt + (type == 0x05 ? 12 : 8);
        if (type != 0x05 && type != 0x0D) return false;
        if (pointers + 2 * std::size_t(cells) > page.size()) return false;
        for (std::uint32_t i = 0; i < cells; ++i) {
            const std::uint32_t cellAt = be16(page.data() + pointers + 2 * i);
            if (cellAt < pointers || cellAt >= file_.usable()) return false;
            const unsigned char* p = page.data() + cellAt;
            const unsigned char* end = page.data() + file_.usable();
            if (type == 0x05) {
                if (p + 4 > end) return false;
                bool more = true;
                if (!scan(
                        be32(p), [&](const std::string& payload) { return more = visit(payload); },
                        depth + 1))
                    return false;
                if (!more) return true;
                continue;
            }
            std::uint64_t size = 0, rowid = 0;
            if (!varint(p, end, size) || !varint(p, end, rowid)) return false;
            std::string payload;
            if (!readPayload(p, end, size, payload)) return false;
            if (!visit(payload)) return true;
        }
        if (type == 0x05) {
            bool more = true;
            return scan(
                be32(h + 8), [&](const std::string& payload) { return more = visit(payload); },
                depth + 1);
        }
        return true;
    }

private:
    // The payload of a leaf cell, following its overflow chain.
    bool readPayload(const unsigned char* p, const unsigned char* end, std::uint64_t size,
                     std::string& payload) {
        if (size > kMaxPayload) return false;
        const std::uint64_t u = file_.usable();
        const std::uint64_t maxLocal = u - 35;
        std::uint64_t local = size;
        if (size > maxLocal) {
            const std::uint64_t minLocal = ((u - 12) * 32 / 255) - 23;
            local = minLocal + (size - minLocal) % (u - 4);
            if (local > maxLocal) local = minLocal;
        }
        if (p + local > end) return false;
        payload.assign(reinterpret_cast<const char*>(p), local);
        if (local == size) return true;
        if (p + local + 4 > end) return false;
        std::uint32_t next = be32(p + local);
        std::vector<unsigned char> page;
        while (payload.size() < size) {
            if (next == 0 || !file_.page(next, page)) return false;
            const std::size_t take = std::min<std::uint64_t>(u - 4, size - payload.size());
            payload.append(reinterpret_cast<const char*>(page.data() + 4), take);
            next = be32(page.data());
        }
        return true;
    }

    DatabaseFile& file_;
};

// Decodes the first `wanted` fields of a record; false for anything that
// SQLite would turn into text differently (floats) or that is malformed.
bool decodeRecord(const std::string& payload, std::size_t wanted, std::vector<Field>& fields,
                  std::size_t& fieldCount) {
    const auto* begin = reinterpret_cast<const unsigned char*>(payload.data());
    const unsigned char* end = begin + payload.size();
    const unsigned char* p = begin;
    std::uint64_t headerSize = 0;
    if (!varint(p, end, headerSize) || headerSize > payload.size()) return false;
    const unsigned char* headerEnd = begin + headerSize;
    const unsigned char* body = headerEnd;
    fields.clear();
    fieldCount = 0;
    while (p < headerEnd) {
        std::uint64_t type = 0;
        if (!varint(p, headerEnd, type)) return false;
        std::uint64_t length = 0;
        Field field;
        if (type >= 12) {
            length = (type - 12) / 2;
            if (body + length > end) return false;
            field.null = false;
            // Texts end at their first NUL, as C strings do.
            const char* start = reinterpret_cast<const char*>(body);
            field.text.assign(start, strnlen(start, length));
        } else if (type >= 1 && type <= 6) {
            static constexpr int kSizes[] = {0, 1, 2, 3, 4, 6, 8};
            length = kSizes[type];
            if (body + length > end) return false;
            std::int64_t value = (body[0] & 0x80) ? -1 : 0;
            for (std::uint64_t i = 0; i < length; ++i) value = (value << 8) | body[i];
            field = {false, std::to_string(value)};
        } else if (type == 8 || type == 9) {
            field = {false, type == 8 ? "0" : "1"};
        } else if (type != 0) {
            return false;  // floats and reserved types
        }
        body += length;
        if (fieldCount++ < wanted) fields.push_back(std::move(field));
    }
    return true;
}

std::string lowered(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// Column definitions that make a row's stored fields differ from what
// SELECT * gives: an INTEGER PRIMARY KEY stands for the rowid, and generated
// columns are not stored at all. Any doubt counts.
bool plainTableDefinition(const std::string& sql) {
    std::string s = lowered(sql);
    if (s.find("primary") != std::string::npos || s.find("generated") != std::string::npos ||
        s.find("without") != std::string::npos)
        return false;
    s.erase(std::remove_if(s.begin(), s.end(),
                           [](char c) { return std::isspace(static_cast<unsigned char>(c)); }),
            s.end());
    return s.find("as(") == std::string::npos;
}

}  // namespace

std::optional<ModuleDetails> readDetailsFromFile(const std::string& path) {
    DatabaseFile file(path);
    if (!file.open()) return std::nullopt;
    TableReader reader(file);

    std::uint32_t detailsRoot = 0;
    bool usable = true;
    std::vector<Field> fields;
    std::size_t count = 0;
    const bool schemaRead = reader.scan(1, [&](const std::string& payload) {
        if (!decodeRecord(payload, 5, fields, count) || fields.size() < 5) {
            usable = false;
            return false;
        }
        const std::string& type = fields[0].text;
        if (settings::equalsNoCase(fields[1].text, "details")) {
            if (type != "table" || !plainTableDefinition(fields[4].text)) usable = false;
            detailsRoot =
                static_cast<std::uint32_t>(std::strtoul(fields[3].text.c_str(), nullptr, 10));
        } else if (type == "index" && settings::equalsNoCase(fields[2].text, "details")) {
            usable = false;  // SQLite might read the rows through the index
        }
        return usable;
    });
    if (!schemaRead || !usable) return std::nullopt;
    if (detailsRoot == 0) return ModuleDetails{};  // no Details table

    std::optional<ModuleDetails> details = ModuleDetails{};
    const bool rowRead = reader.scan(detailsRoot, [&](const std::string& payload) {
        // A row with fewer stored fields than columns takes the columns'
        // defaults, which only SQLite knows.
        if (!decodeRecord(payload, 3, fields, count) || count < 3) {
            details.reset();
            return false;
        }
        std::string* targets[] = {&details->description, &details->tabName, &details->comments};
        for (int i = 0; i < 3; ++i) {
            if (!fields[i].null && fields[i].text != host::kEmptyFieldText)
                *targets[i] = std::move(fields[i].text);
        }
        return false;  // the first row only
    });
    if (!rowRead) return std::nullopt;
    return details;
}

}  // namespace modshelf::modules

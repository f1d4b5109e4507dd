#pragma once

#include <string>
#include <vector>

namespace modshelf::platform {

// The argument or environment list an exec call takes: pointers into
// `texts`, ending in a null pointer. Built before fork, since the child may
// not allocate; `texts` must outlive the list.
inline std::vector<char*> execList(std::vector<std::string>& texts) {
    std::vector<char*> list;
    list.reserve(texts.size() + 1);
    for (std::string& text : texts) list.push_back(text.data());
    list.push_back(nullptr);
    return list;
}

}  // namespace modshelf::platform

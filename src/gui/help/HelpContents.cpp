#include "gui/help/HelpContents.h"

#include <fstream>
#include <regex>
#include <set>
#include <sstream>

#include "core/app/HelpPaths.h"

namespace modshelf::gui {

namespace {

std::string readText(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Tags dropped, the few entities our pages use resolved, blanks folded.
std::string plainText(const std::string& html) {
    static const std::regex tag("<[^>]*>");
    std::string text = std::regex_replace(html, tag, "");
    static const std::pair<const char*, const char*> entities[] = {
        {"&lt;", "<"},  {"&gt;", ">"},   {"&quot;", "\""}, {"&apos;", "'"},
        {"&#39;", "'"}, {"&nbsp;", " "}, {"&amp;", "&"}};
    for (const auto& [entity, replacement] : entities) {
        for (auto at = text.find(entity); at != std::string::npos;
             at = text.find(entity, at + std::char_traits<char>::length(replacement)))
            text.replace(at, std::char_traits<char>::length(entity), replacement);
    }
    std::string folded;
    bool blank = false;
    for (char c : text) {
        const bool space = c == ' ' || c == '\n' || c == '\r' || c == '\t';
        if (space) {
            blank = !folded.empty();
            continue;
        }
        if (blank) folded += ' ';
        blank = false;
        folded += c;
    }
    return folded;
}

bool isLocalPage(const std::string& target) {
    return !target.empty() && target.find(':') == std::string::npos && target[0] != '#' &&
           target[0] != '/';
}

}  // namespace

std::vector<HelpTopic> linksOf(const std::string& html) {
    static const std::regex link(R"re(<a\s[^>]*href\s*=\s*"([^"]*)"[^>]*>([\s\S]*?)</a\s*>)re",
                                 std::regex::icase);
    std::vector<HelpTopic> links;
    for (auto it = std::sregex_iterator(html.begin(), html.end(), link);
         it != std::sregex_iterator(); ++it)
        links.push_back({plainText((*it)[2].str()), (*it)[1].str()});
    return links;
}

std::vector<HelpTopic> readHelpContents(const std::filesystem::path& folder) {
    std::vector<HelpTopic> topics;
    std::set<std::string> seen;
    const auto add = [&](std::string title, std::string page) {
        if (seen.insert(page).second) topics.push_back({std::move(title), std::move(page)});
    };
    add("Contents", app::kHelpContentsPage);
    const std::string index = app::kHelpIndexPage;
    for (auto& link : linksOf(readText(folder / app::kHelpContentsPage))) {
        std::string page = link.page.substr(0, link.page.find('#'));
        if (!isLocalPage(page) || page == index || link.title.empty()) continue;
        std::error_code error;
        if (!std::filesystem::is_regular_file(folder / page, error)) continue;
        add(std::move(link.title), std::move(page));
    }
    std::error_code error;
    if (std::filesystem::is_regular_file(folder / index, error)) add("Index", index);
    return topics;
}

}  // namespace modshelf::gui

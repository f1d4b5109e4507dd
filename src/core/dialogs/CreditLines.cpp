#include "core/dialogs/CreditLines.h"

namespace modshelf::dialogs {

std::vector<std::string> crawlCredits(const std::string& version) {
    return {"A long time ago",
            "in a galaxy far far away",
            "this app was developed",
            "by the Modshelf developers",
            "",
            "",
            "",
            "Well, OK, maybe it",
            "wasn't all that long ago",
            "",
            "Quorvel Modshelf " + version,
            "Copyright (c) 2026",
            "The Modshelf developers",
            "",
            "",
            "",
            "Come to think of it,",
            "maybe it wasn't all",
            "that far away either"};
}

std::vector<std::string> rainCredits(const std::string& version) {
    return {"Quorvel Modshelf",
            version,
            "",
            "A module manager",
            "for Scrivel",
            "\x01 4",
            "Copyright (c) 2026",
            "The Modshelf developers",
            "",
            "Free software under",
            "the MIT License",
            "\x01 5"};
}

}  // namespace modshelf::dialogs

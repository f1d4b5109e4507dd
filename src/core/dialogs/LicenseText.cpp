#include "core/dialogs/LicenseText.h"

namespace modshelf::dialogs {

std::vector<std::string> licenseParagraphs(const std::string& version) {
    return {
        "Quorvel Modshelf " + version +
            ", a module manager for Scrivel. Copyright (c) 2026 The Modshelf developers. "
            "Modshelf is free software, released under the MIT License.",

        "Permission is hereby granted, free of charge, to any person obtaining a copy of this "
        "software and associated documentation files (the \"Software\"), to deal in the "
        "Software without restriction, including without limitation the rights to use, copy, "
        "modify, merge, publish, distribute, sublicense, and/or sell copies of the Software, "
        "and to permit persons to whom the Software is furnished to do so, subject to the "
        "following conditions:",

        "The above copyright notice and this permission notice shall be included in all copies "
        "or substantial portions of the Software.",

        "THE SOFTWARE IS PROVIDED \"AS IS\", WITHOUT WARRANTY OF ANY KIND, EXPRESS OR IMPLIED, "
        "INCLUDING BUT NOT LIMITED TO THE WARRANTIES OF MERCHANTABILITY, FITNESS FOR A "
        "PARTICULAR PURPOSE AND NONINFRINGEMENT. IN NO EVENT SHALL THE AUTHORS OR COPYRIGHT "
        "HOLDERS BE LIABLE FOR ANY CLAIM, DAMAGES OR OTHER LIABILITY, WHETHER IN AN ACTION OF "
        "CONTRACT, TORT OR OTHERWISE, ARISING FROM, OUT OF OR IN CONNECTION WITH THE SOFTWARE "
        "OR THE USE OR OTHER DEALINGS IN THE SOFTWARE.",

        "Modshelf uses the Qt 6 libraries, copyright The Qt Company Ltd. and other contributors, "
        "under the terms of the GNU Lesser General Public License version 3 (LGPL v3). Modshelf "
        "links to Qt's libraries dynamically and does not change them, so you may replace them "
        "with other compatible versions. The licence text is at "
        "https://www.gnu.org/licenses/lgpl-3.0.html and Qt's source code at "
        "https://download.qt.io/.",

        "Modshelf reads module files with SQLite. The authors of SQLite have dedicated its code "
        "to the public domain; see https://www.sqlite.org/copyright.html.",

        "Scrivel is a separate program by other makers. Modshelf does not include Scrivel or "
        "any part of it, and is neither made nor endorsed by Scrivel's makers. Modshelf reads "
        "Scrivel's settings and module files and writes only the settings that choose which "
        "modules Scrivel shows and how it lays out their tabs.",

        "The Bibles, commentaries and other modules that Modshelf lists are the work of their "
        "own authors and publishers and come under their own terms. Modshelf reads them and "
        "never changes them.",
    };
}

std::string licenseText(const std::vector<std::string>& paragraphs) {
    std::string text;
    for (const std::string& paragraph : paragraphs) text += paragraph + "\r\n\r\n";
    if (!paragraphs.empty()) text += paragraphs.front();
    return text;
}

}  // namespace modshelf::dialogs

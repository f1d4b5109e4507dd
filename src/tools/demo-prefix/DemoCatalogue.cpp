#include "DemoCatalogue.h"

#include <array>

namespace modshelf::demo {

namespace {

constexpr SampleTitle kBibles[] = {
    {"KJV", "KJV", "King James Version, 1769 Oxford text with Strong's numbers"},
    {"ASV", "ASV", "American Standard Version (1901)"},
    {"WEB", "WEB", "World English Bible, British edition"},
    {"YLT", "YLT", "Young's Literal Translation (1898 revised edition)"},
    {"Darby", "DBY", "Darby Translation (1890), with the translator's notes"},
    {"Webster", "WBS", "Webster Bible (1833)"},
    {"Geneva 1599", "GNV", "Geneva Bible (1599) with modernised spelling"},
    {"Plain English Bible", "PEB", "Plain English Bible: a simple-language rendering"},
    {"Lamplight", "LLB", "Lamplight Bible, reader's edition"},
    {"Hillcrest Standard", "HSV", "Hillcrest Standard Version, second printing"},
    {"Brookside Literal", "BLT", "Brookside Literal Translation of the New Testament"},
    {"Segond 1910", "LSG",
     "Sainte Bible, \xC3\xA9"
     "dition Segond (1910)"},
    {"Vulgata Clementina", "VUL", "Latin Vulgate, Clementine text"},
    {"Septuagint", "LXX", "Septuagint: the Greek Old Testament, with accents"},
    {"Elmwood", "ELV", "Elmwood Version, study edition with cross references"},
};

constexpr SampleTitle kCommentaries[] = {
    {"Matthew Henry Concise", "MHC", "Matthew Henry's Concise Commentary on the Whole Bible"},
    {"JFB", "JFB", "Jamieson, Fausset and Brown Commentary (1871)"},
    {"TSK", "TSK", "Treasury of Scripture Knowledge: cross references"},
    {"Barnes Notes", "BNN", "Barnes' Notes on the New Testament"},
    {"Clarke", "ACC", "Adam Clarke's Commentary, abridged"},
    {"Gill", "GIL", "Gill's Exposition of the Entire Bible"},
    {"Hollow Vale Notes", "HVN", "Hollow Vale Notes: short remarks verse by verse"},
    {"Riverside Pastor", "RPC", "Riverside Pastor's Commentary on the Gospels"},
    {"Wayside Study Notes", "WSN", "Wayside Study Notes for small groups"},
    {"Wesley Notes", "WES", "Wesley's Explanatory Notes"},
};

constexpr SampleTitle kDictionaries[] = {
    {"Easton", "EAS", "Easton's Bible Dictionary (1897)"},
    {"Smith", "SMI", "Smith's Bible Dictionary, revised"},
    {"Strongs Greek", "SGK", "Strong's Greek Lexicon with transliterations"},
    {"Strongs Hebrew", "SHB", "Strong's Hebrew Lexicon with transliterations"},
    {"Nave", "NAV", "Nave's Topical Bible"},
    {"Torrey", "TOR", "Torrey's New Topical Textbook"},
    {"Hitchcock", "HBN", "Hitchcock's Dictionary of Bible Names"},
    {"Webster 1828", "W28", "Webster's Dictionary of the English Language (1828)"},
    {"Fausset", "FBD", "Fausset's Bible Dictionary"},
    {"Millbrook Lexicon", "MBL", "Millbrook Lexicon of Biblical Places"},
};

constexpr SampleTitle kDevotionals[] = {
    {"Daily Light", "DLT", "Daily Light on the Daily Path, morning and evening"},
    {"Morning and Evening", "M&E", "Morning and Evening: daily readings"},
    {"Quiet Dawn", "QDM", "Quiet Dawn Meditations for every day of the year"},
    {"Harvest Thoughts", "HVT", "Harvest Thoughts: a devotional for the autumn months"},
};

constexpr SampleTitle kGraphics[] = {
    {"Bible Lands", "BLM", "Bible Lands: maps of the Old and New Testament world"},
    {"Jerusalem", "JER", "Jerusalem in the first century, with the temple plan"},
    {"Journeys of Paul", "JOP", "The missionary journeys of Paul"},
};

constexpr SampleTitle kHarmonies[] = {
    {"Four Gospels", "HAR", "A harmony of the four Gospels in parallel columns"},
    {"Robertson Harmony", "ROB", "Robertson's Harmony of the Gospels"},
};

constexpr SampleTitle kIllustrations[] = {
    {"Sermon Illustrations", "ILL", "Illustrations for sermons and lessons, by topic"},
    {"Parables Pictured", "PPI", "The parables, pictured and explained"},
};

constexpr SampleTitle kJournals[] = {
    {"Reading Journal", "RJ", "Reading journal"},
    {"Retreat Journal", "RTJ", "Journal of the spring retreat"},
};

constexpr SampleTitle kMemoryVerses[] = {
    {"Memory Verses", "MEM", "Verses to learn by heart, in twelve packs"},
    {"Psalms by Heart", "PBH", "Psalms by heart: a memory course"},
};

constexpr SampleTitle kNotes[] = {
    {"Study Notes", "SN", "Study notes"},
    {"Class Notes", "CN", "Notes for the Thursday class"},
};

constexpr SampleTitle kOverlays[] = {
    {"Red Letter", "RLO", "Red letter overlay: words of Christ in red"},
    {"Paragraphs", "PAR", "Paragraph marks overlay"},
};

constexpr SampleTitle kPrayerLists[] = {
    {"Church Prayer List", "CPL", "Prayer list of the church family"},
    {"Missions Prayer List", "MPL", "Missionaries to pray for, by month"},
};

constexpr SampleTitle kReadingPlans[] = {
    {"Bible in a Year", "BIY", "The whole Bible in a year, Old and New Testament daily"},
    {"Chronological Plan", "CHR", "Chronological reading plan"},
    {"Gospels in 40 Days", "G40", "The Gospels in forty days"},
};

constexpr SampleTitle kReferences[] = {
    {"Church History", "ECH", "A short history of the early church"},
    {"Josephus", "JOS", "The works of Josephus, Whiston translation"},
    {"Pilgrims Progress", "PPR", "The Pilgrim's Progress, both parts"},
};

constexpr SampleTitle kTopics[] = {
    {"Topical Index", "TOP", "Topical index of the Bible"},
    {"Promises", "PRM", "Promises of the Bible, arranged by subject"},
};

constexpr SampleTitle kVerseAnalysis[] = {
    {"Word Study", "WST", "Word study analysis of the New Testament"},
    {"Greek Parsing", "GRP", "Greek parsing of every New Testament word"},
};

constexpr SampleTitle kVerseLists[] = {
    {"Comfort Verses", "CMF", "Verses of comfort"},
    {"Salvation Verses", "SAL", "Verses on salvation"},
};

struct KindEntry {
    std::string_view extension;
    std::span<const SampleTitle> titles;
    SampleContent content;
};

constexpr std::string_view kBibleRows[] = {
    "INSERT INTO Bible VALUES(1,1,1,'In the beginning God created the heaven and the earth.')",
    "INSERT INTO Bible VALUES(1,1,2,'And the earth was without form, and void; and darkness was "
    "upon the face of the deep.')",
    "INSERT INTO Bible VALUES(43,1,1,'In the beginning was the Word, and the Word was with God, "
    "and the Word was God.')",
};
constexpr std::string_view kCommentaryRows[] = {
    "INSERT INTO VerseCommentary VALUES(1,1,1,1,1,'{\\rtf1\\ansi The opening words set the "
    "scene for all that follows.\\par}')",
    "INSERT INTO VerseCommentary VALUES(43,1,1,1,5,'{\\rtf1\\ansi The Word is spoken of as a "
    "person.\\par}')",
};
constexpr std::string_view kDictionaryRows[] = {
    "INSERT INTO Dictionary VALUES('Abba','{\\rtf1\\ansi Father; a word of family warmth.\\par}')",
    "INSERT INTO Dictionary VALUES('Bethel','{\\rtf1\\ansi House of God; a town north of "
    "Jerusalem.\\par}')",
    "INSERT INTO Dictionary VALUES('Cubit','{\\rtf1\\ansi A measure of length, about half a "
    "metre.\\par}')",
};
constexpr std::string_view kDevotionalRows[] = {
    "INSERT INTO Devotions VALUES(1,1,'Morning','{\\rtf1\\ansi Begin the year with "
    "thanks.\\par}')",
    "INSERT INTO Devotions VALUES(1,2,'Morning','{\\rtf1\\ansi Rest is a gift.\\par}')",
};
constexpr std::string_view kEntryRows[] = {
    "INSERT INTO Entries VALUES(1,'Introduction','{\\rtf1\\ansi Introduction.\\par}')",
    "INSERT INTO Entries VALUES(2,'First entry','{\\rtf1\\ansi The first entry.\\par}')",
};
constexpr std::string_view kVerseListRows[] = {
    "INSERT INTO Verses VALUES(1,19,23,1,6)",
    "INSERT INTO Verses VALUES(2,43,3,16,16)",
};

const std::array<KindEntry, 17> kKinds = {{
    {".bblx",
     kBibles,
     {"Bible", "CREATE TABLE Bible(Book INT, Chapter INT, Verse INT, Scripture TEXT)", kBibleRows}},
    {".cmtx",
     kCommentaries,
     {"VerseCommentary",
      "CREATE TABLE VerseCommentary(Book INT, ChapterBegin INT, ChapterEnd INT, VerseBegin INT, "
      "VerseEnd INT, Comments TEXT)",
      kCommentaryRows}},
    {".devx",
     kDevotionals,
     {"Devotions", "CREATE TABLE Devotions(Month INT, Day INT, Title TEXT, Devotion TEXT)",
      kDevotionalRows}},
    {".dctx",
     kDictionaries,
     {"Dictionary", "CREATE TABLE Dictionary(Topic TEXT PRIMARY KEY, Definition TEXT)",
      kDictionaryRows}},
    {".mapx",
     kGraphics,
     {"Entries", "CREATE TABLE Entries(Id INT, Title TEXT, Body TEXT)", kEntryRows}},
    {".harx",
     kHarmonies,
     {"Entries", "CREATE TABLE Entries(Id INT, Title TEXT, Body TEXT)", kEntryRows}},
    {".illx",
     kIllustrations,
     {"Entries", "CREATE TABLE Entries(Id INT, Title TEXT, Body TEXT)", kEntryRows}},
    {".jnlx",
     kJournals,
     {"Entries", "CREATE TABLE Entries(Id INT, Title TEXT, Body TEXT)", kEntryRows}},
    {".memx",
     kMemoryVerses,
     {"Verses", "CREATE TABLE Verses(Id INT, Book INT, Chapter INT, VerseBegin INT, VerseEnd INT)",
      kVerseListRows}},
    {".notx",
     kNotes,
     {"Entries", "CREATE TABLE Entries(Id INT, Title TEXT, Body TEXT)", kEntryRows}},
    {".ovlx",
     kOverlays,
     {"Verses", "CREATE TABLE Verses(Id INT, Book INT, Chapter INT, VerseBegin INT, VerseEnd INT)",
      kVerseListRows}},
    {".prlx",
     kPrayerLists,
     {"Entries", "CREATE TABLE Entries(Id INT, Title TEXT, Body TEXT)", kEntryRows}},
    {".brpx",
     kReadingPlans,
     {"Verses", "CREATE TABLE Verses(Id INT, Book INT, Chapter INT, VerseBegin INT, VerseEnd INT)",
      kVerseListRows}},
    {".refx",
     kReferences,
     {"Entries", "CREATE TABLE Entries(Id INT, Title TEXT, Body TEXT)", kEntryRows}},
    {".topx",
     kTopics,
     {"Entries", "CREATE TABLE Entries(Id INT, Title TEXT, Body TEXT)", kEntryRows}},
    {".anlx",
     kVerseAnalysis,
     {"Verses", "CREATE TABLE Verses(Id INT, Book INT, Chapter INT, VerseBegin INT, VerseEnd INT)",
      kVerseListRows}},
    {".lstx",
     kVerseLists,
     {"Verses", "CREATE TABLE Verses(Id INT, Book INT, Chapter INT, VerseBegin INT, VerseEnd INT)",
      kVerseListRows}},
}};

const KindEntry* findKind(std::string_view extension) {
    for (const KindEntry& entry : kKinds) {
        if (entry.extension == extension) return &entry;
    }
    return nullptr;
}

constexpr SampleContent kGenericContent{
    "Entries", "CREATE TABLE Entries(Id INT, Title TEXT, Body TEXT)", kEntryRows};

}  // namespace

std::span<const SampleTitle> sampleTitles(std::string_view extension) {
    const KindEntry* entry = findKind(extension);
    return entry ? entry->titles : std::span<const SampleTitle>{};
}

const SampleContent& sampleContent(std::string_view extension) {
    const KindEntry* entry = findKind(extension);
    return entry ? entry->content : kGenericContent;
}

NumberedTitle numberedTitle(std::string_view extension, int index) {
    std::span<const SampleTitle> titles = sampleTitles(extension);
    if (titles.empty()) {
        std::string number = std::to_string(index + 1);
        return {"Module " + number, "MOD" + number, "Sample module " + number};
    }
    const SampleTitle& title = titles[static_cast<std::size_t>(index) % titles.size()];
    NumberedTitle result{std::string(title.fileStem), std::string(title.tabName),
                         std::string(title.description)};
    int round = index / static_cast<int>(titles.size());
    if (round > 0) {
        std::string number = std::to_string(round + 1);
        result.fileStem += " " + number;
        result.tabName += number;
        result.description += " (volume " + number + ")";
    }
    return result;
}

}  // namespace modshelf::demo

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "CQMVVLTException.h"
#include "DataFile.h"
#include "LoadSettingDoc.h"
#include "MessageId.h"
#include "TextCodec.h"

namespace {

namespace fs = std::filesystem;

class TempFiles {
  public:
    TempFiles() {
        std::string pattern = (fs::temp_directory_path() / "qmvvlt-datafile-XXXXXX");
        m_dir = mkdtemp(pattern.data());
    }
    ~TempFiles() {
        std::error_code ec;
        fs::remove_all(m_dir, ec);
    }
    fs::path Write(const std::string& name, const std::string& bytes) const {
        std::ofstream(m_dir / name, std::ios::binary) << bytes;
        return m_dir / name;
    }
    const fs::path& Dir() const { return m_dir; }

  private:
    fs::path m_dir;
};

std::string Wide(std::u16string_view text) {
    std::string bytes = "\xFF\xFE";
    for (char16_t u : text) {
        bytes += static_cast<char>(u & 0xFF);
        bytes += static_cast<char>(u >> 8);
    }
    return bytes;
}

const std::string kRegionXml =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
    "<RegionSetting xmlns=\"urn:varentis:qmv-vlt:profile\"><Region name=\"LACR\"/>"
    "<SupportLanguages><language name=\"German\" displayName=\"Deutsch \xC3\xA9\"/>"
    "</SupportLanguages></RegionSetting>\n";

TEST(ReadDataFile, DetectsTheTextForm) {
    TempFiles files;
    const struct {
        const char* name;
        std::string bytes;
        std::u16string text;
        bool narrow;
    } cases[] = {
        {"wide", Wide(u"<?xml \u20AC\u4E2D"), u"<?xml \u20AC\u4E2D", false},
        {"narrow", "<?xml \x80\xE9", u"<?xml \u20AC\u00E9", true},
        {"empty", "", u"", true},
        {"bom only", "\xFF\xFE", u"", false},
        {"odd byte dropped", Wide(u"ab") + "c", u"ab", false},
        {"big-endian mark is not a mark", "\xFE\xFF", u"\u00FE\u00FF", true},
    };
    for (const auto& c : cases) {
        const DataFileText read = ReadDataFile(files.Write("f", c.bytes));
        EXPECT_EQ(read.text, c.text) << c.name;
        EXPECT_EQ(read.narrow, c.narrow) << c.name;
    }
    const DataFileText missing = ReadDataFile(files.Dir() / "missing");
    EXPECT_TRUE(missing.text.empty());
    EXPECT_FALSE(missing.narrow);
}

TEST(ReadDataFile, ReadsLargeWideFilesAcrossBlocks) {
    TempFiles files;
    std::u16string text;
    for (int i = 0; i < 5000; ++i) {
        text += static_cast<char16_t>(0x100 + i);
    }
    EXPECT_EQ(ReadDataFile(files.Write("big", Wide(text))).text, text);
}

TEST(Scrambling, PlainMarkerIgnoresCase) {
    const struct {
        std::u16string_view text;
        bool plain;
    } cases[] = {{u"<?xml version", true}, {u"<?XML version", true}, {u"<?XmL", true},
                 {u"<?xm", false},         {u" <?xml", false},       {u"", false}};
    for (const auto& c : cases) {
        EXPECT_EQ(BeginsWithMarker(c.text, kXmlPlainMarker), c.plain);
    }
    EXPECT_TRUE(BeginsWithMarker(u"-- rule file", kRuleFilePlainMarker));
    EXPECT_FALSE(BeginsWithMarker(u"-x", kRuleFilePlainMarker));
}

TEST(Scrambling, WideUnitsEqualToTheKeyPassUnchanged) {
    std::u16string text = {u'<', kScrambleKey, 0x4E2D, kScrambleKey, u'a'};
    Unscramble(text, false);
    EXPECT_EQ(text[0], u'<' ^ kScrambleKey);
    EXPECT_EQ(text[1], kScrambleKey);
    EXPECT_EQ(text[2], 0x4E2D ^ kScrambleKey);
    EXPECT_EQ(text[3], kScrambleKey);
    Unscramble(text, false);
    EXPECT_EQ(text, (std::u16string{u'<', kScrambleKey, 0x4E2D, kScrambleKey, u'a'}));
}

TEST(Scrambling, NarrowTextIsScrambledInItsCodePage) {
    // Every byte value, including the key itself (which becomes NUL) and the code page's holes.
    std::string bytes;
    for (int b = 0; b < 256; ++b) {
        bytes += static_cast<char>(b);
    }
    std::u16string text = Cp1252ToUtf16(bytes);
    Unscramble(text, true);
    const std::string scrambled = Utf16ToCp1252(text);
    for (int b = 0; b < 256; ++b) {
        EXPECT_EQ(static_cast<unsigned char>(scrambled[b]), b ^ kScrambleKey);
    }
    Unscramble(text, true);
    EXPECT_EQ(Utf16ToCp1252(text), bytes);
}

TEST(ReadProfileText, GivesTheSameTextForEveryForm) {
    TempFiles files;
    const std::string xml = "<?xml version=\"1.0\"?><a t=\"\xC3\xA9\xE2\x82\xAC Z\"/>";
    const struct {
        const char* name;
        bool narrow;
        bool scramble;
    } cases[] = {{"wide scrambled", false, true},
                 {"wide plain", false, false},
                 {"narrow scrambled", true, true},
                 {"narrow plain", true, false}};
    for (const auto& c : cases) {
        const std::string bytes = EncodeDataFile(xml, c.narrow, c.scramble);
        EXPECT_EQ(bytes.find("<?xml") == std::string::npos, c.scramble || !c.narrow) << c.name;
        const ProfileText read = ReadProfileText(files.Write(c.name, bytes));
        EXPECT_EQ(read.utf8, xml) << c.name;
        EXPECT_EQ(read.narrow, c.narrow) << c.name;
    }
}

TEST(ReadProfileText, UpperCaseDeclarationIsTakenAsPlain) {
    TempFiles files;
    const std::string xml = "<?XML version=\"1.0\"?><a/>";
    EXPECT_EQ(ReadProfileText(files.Write("upper", xml)).utf8, xml);
    EXPECT_EQ(ReadProfileText(files.Write("upperwide", Wide(u"<?XML version=\"1.0\"?><a/>"))).utf8,
              xml);
}

TEST(EncodeDataFile, ReportsCharactersANarrowFileCannotHold) {
    bool lossless = true;
    EXPECT_EQ(EncodeDataFile("<?xml?>\xE4\xB8\xAD", true, false, &lossless), "<?xml?>?");
    EXPECT_FALSE(lossless);
    lossless = true;
    EncodeDataFile("<?xml?>\xE4\xB8\xAD", false, true, &lossless);
    EXPECT_TRUE(lossless);
}

std::string OtherKey(std::string bytes) {
    for (char& b : bytes) {
        b = static_cast<char>(b ^ 0x33);
    }
    return bytes;
}

int CodeOf(const fs::path& file) {
    try {
        LoadSettingDocFile(file);
    } catch (const CQMVVLTException& e) {
        return e.Code();
    }
    return 0;
}

TEST(LoadSettingDoc, BrokenFilesGiveMessage222) {
    TempFiles files;
    fs::create_directory(files.Dir() / "folder");
    const struct {
        const char* name;
        fs::path file;
    } cases[] = {
        {"missing", files.Dir() / "missing.stv"},
        {"empty narrow", files.Write("empty.stv", "")},
        {"empty wide", files.Write("emptywide.stv", "\xFF\xFE")},
        {"a folder", files.Dir() / "folder"},
        {"not xml", files.Write("text.stv", "<?xml version='1.0'?><open>")},
        // Plain XML without its declaration is taken as scrambled and unscrambles to garbage.
        {"wrongly scrambled", files.Write("noheader.stv", "<RegionSetting/>")},
        {"scrambled with another key", files.Write("otherkey.stv", OtherKey(kRegionXml))},
        {"doctype", files.Write("doctype.stv",
                                "<?xml version='1.0'?><!DOCTYPE a [<!ENTITY e "
                                "SYSTEM 'file:///etc/passwd'>]><a>&e;</a>")},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CodeOf(c.file), MessageId::kFilesNotAvailable) << c.name;
    }
}

TEST(LoadSettingDoc, LoadsEveryForm) {
    TempFiles files;
    for (bool narrow : {false, true}) {
        for (bool scramble : {false, true}) {
            const fs::path file =
                files.Write("r.stv", EncodeDataFile(kRegionXml, narrow, scramble));
            const XmlDocPtr doc = LoadSettingDocFile(file);
            ASSERT_TRUE(doc);
            const xmlNode* lang =
                CXPath(doc.get()).SelectFirst("//dfns:SupportLanguages/dfns:language");
            ASSERT_TRUE(lang);
            EXPECT_EQ(GetAttribute(lang, "displayName"), "Deutsch \xC3\xA9");
        }
    }
}

}  // namespace

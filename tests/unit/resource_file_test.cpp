// The .res and dialog readers on hand-made bytes: the paths that windres's
// output for this program never takes (named types, odd data sizes) and the
// malformed inputs that must stop the resource tests instead of passing them.
#include "resource_file.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "dialog_template.h"

namespace {

class Bytes {
  public:
    Bytes& Word(uint16_t v) {
        data.push_back(static_cast<uint8_t>(v));
        data.push_back(static_cast<uint8_t>(v >> 8));
        return *this;
    }
    Bytes& Dword(uint32_t v) { return Word(static_cast<uint16_t>(v)).Word(static_cast<uint16_t>(v >> 16)); }
    Bytes& Text(const char* s) {
        while (*s) Word(static_cast<uint8_t>(*s++));
        return Word(0);
    }
    Bytes& Raw(std::vector<uint8_t> raw) {
        data.insert(data.end(), raw.begin(), raw.end());
        return *this;
    }
    Bytes& Pad() {
        while (data.size() % 4) data.push_back(0);
        return *this;
    }
    std::vector<uint8_t> data;
};

// The empty entry that opens a 32-bit .res file.
Bytes ResFile() {
    Bytes b;
    b.Dword(0).Dword(32).Word(0xFFFF).Word(0).Word(0xFFFF).Word(0).Dword(0).Word(0).Word(0).Dword(0).Dword(0);
    return b;
}

// The rest of a header after its type and name, which are 12 + 8 bytes here.
void HeaderTail(Bytes& b, uint16_t language) {
    b.Pad().Dword(0).Word(0x1030).Word(language).Dword(0).Dword(0);
}

TEST(ResourceFileReader, ReadsNamedEntriesAndRealignsAfterOddSizedData) {
    Bytes b = ResFile();
    // Type "AB" (6 bytes) and ordinal name 7 (4 bytes) pad the header to 36.
    b.Dword(3).Dword(36).Text("AB").Word(0xFFFF).Word(7);
    HeaderTail(b, 0x0409);
    b.Raw({1, 2, 3}).Pad();
    b.Dword(2).Dword(32).Word(0xFFFF).Word(6).Word(0xFFFF).Word(2);
    HeaderTail(b, 0x0407);
    b.Raw({9, 8});

    std::vector<Resource> resources = ParseResourceFile(b.data);
    ASSERT_EQ(resources.size(), 2u);
    EXPECT_EQ(resources[0].type, NameOrOrdinal::Text("AB"));
    EXPECT_EQ(resources[0].name, NameOrOrdinal::Ordinal(7));
    EXPECT_EQ(resources[0].language, 0x0409);
    EXPECT_EQ(resources[0].data, (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_EQ(resources[1].type, NameOrOrdinal::Ordinal(6));
    EXPECT_EQ(resources[1].name, NameOrOrdinal::Ordinal(2));
    EXPECT_EQ(resources[1].language, 0x0407);
    EXPECT_EQ(resources[1].data, (std::vector<uint8_t>{9, 8}));
}

TEST(ResourceFileReader, RejectsMalformedFiles) {
    Bytes overlong = ResFile();
    overlong.Dword(100).Dword(32).Word(0xFFFF).Word(6).Word(0xFFFF).Word(2);
    HeaderTail(overlong, 0x0409);
    overlong.Raw({1, 2, 3, 4});

    Bytes noMarker;
    noMarker.Dword(4).Dword(32).Word(0xFFFF).Word(6).Word(0xFFFF).Word(2);
    HeaderTail(noMarker, 0x0409);
    noMarker.Raw({1, 2, 3, 4});

    Bytes truncatedHeader = ResFile();
    truncatedHeader.Dword(4).Dword(32).Word(0xFFFF);

    const std::pair<const char*, std::vector<uint8_t>> cases[] = {
        {"data longer than the file", overlong.data},
        {"no opening empty entry", noMarker.data},
        {"header cut short", truncatedHeader.data},
        {"empty file", {}},
    };
    for (const auto& [what, bytes] : cases) {
        EXPECT_THROW(ParseResourceFile(bytes), std::runtime_error) << what;
    }
}

// A one-control dialog whose control has a class name string and creation
// data, neither of which the program's dialogs use.
Bytes OneControlDialog() {
    Bytes b;
    b.Dword(0x80C80040).Dword(0).Word(1).Word(1).Word(2).Word(30).Word(40);
    b.Word(0).Word(0).Text("T").Word(9).Text("F");
    b.Pad().Dword(0x50000000).Dword(0).Word(3).Word(4).Word(5).Word(6).Word(77);
    b.Text("Edit").Word(0xFFFF).Word(12).Word(4).Word(0xABCD);
    return b;
}

TEST(DialogTemplateReader, ReadsStringClassesAndSkipsCreationData) {
    DialogTemplate dialog = ParseDialogTemplate(OneControlDialog().data);
    EXPECT_EQ(dialog.title, "T");
    EXPECT_EQ(dialog.pointSize, 9);
    EXPECT_EQ(dialog.typeface, "F");
    ASSERT_EQ(dialog.items.size(), 1u);
    EXPECT_EQ(dialog.items[0].id, 77);
    EXPECT_EQ(dialog.items[0].cy, 6);
    EXPECT_EQ(dialog.items[0].windowClass, NameOrOrdinal::Text("Edit"));
    EXPECT_EQ(dialog.items[0].title, NameOrOrdinal::Ordinal(12));
    EXPECT_EQ(dialog.items[0].creationDataSize, 4);
}

TEST(DialogTemplateReader, RejectsExtendedTruncatedAndOverlongTemplates) {
    std::vector<uint8_t> truncated = OneControlDialog().data;
    truncated.resize(truncated.size() - 2);
    std::vector<uint8_t> overlong = OneControlDialog().Pad().Dword(0).data;
    Bytes extended;
    extended.Word(1)
        .Word(0xFFFF)
        .Dword(0)
        .Dword(0)
        .Dword(0x80C80040)
        .Word(0)
        .Word(0)
        .Word(0)
        .Word(10)
        .Word(10);
    extended.Word(0).Word(0).Text("");

    const std::pair<const char*, std::vector<uint8_t>> cases[] = {
        {"cut inside the creation data", truncated},
        {"bytes after the last control", overlong},
        {"DLGTEMPLATEEX", extended.data},
    };
    for (const auto& [what, bytes] : cases) {
        EXPECT_THROW(ParseDialogTemplate(bytes), std::runtime_error) << what;
    }
}

}  // namespace

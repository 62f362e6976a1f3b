// Checks the resources that windres compiles from src/resources/remote_control.rc
// against what the program's documentation requires: the names, icons,
// accelerators, the three dialogs control by control, and the version. The
// expected values are written out here by hand, never taken from the script,
// so a wrong statement there (or a resource compiler that drops a field, as
// windres does with the size of an ICON control) fails here.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

#include "dialog_template.h"
#include "resource_file.h"
#include "resource_tables.h"

namespace {

// Win32 values as documented, spelled out because the host has no windows.h.
constexpr uint32_t WS_POPUP = 0x80000000;
constexpr uint32_t WS_CHILD = 0x40000000;
constexpr uint32_t WS_VISIBLE = 0x10000000;
constexpr uint32_t WS_CAPTION = 0x00C00000;
constexpr uint32_t WS_VSCROLL = 0x00200000;
constexpr uint32_t WS_SYSMENU = 0x00080000;
constexpr uint32_t WS_GROUP = 0x00020000;
constexpr uint32_t WS_TABSTOP = 0x00010000;
constexpr uint32_t DS_MODALFRAME = 0x80;
constexpr uint32_t DS_SETFONT = 0x40;
constexpr uint32_t DS_3DLOOK = 0x04;
constexpr uint32_t BS_PUSHBUTTON = 0x0;
constexpr uint32_t BS_DEFPUSHBUTTON = 0x1;
constexpr uint32_t SS_LEFT = 0x0;
constexpr uint32_t SS_ICON = 0x3;
constexpr uint32_t SS_NOPREFIX = 0x80;
constexpr uint32_t CBS_DROPDOWN = 0x2;
constexpr uint16_t kButton = 0x0080;
constexpr uint16_t kStatic = 0x0082;
constexpr uint16_t kComboBox = 0x0085;
constexpr uint16_t IDOK = 1;
constexpr uint16_t IDCANCEL = 2;
constexpr uint16_t kNoId = 0xFFFF;
constexpr uint16_t FNOINVERT = 0x02;
constexpr uint16_t FALT = 0x10;
constexpr uint16_t kLastAccelerator = 0x80;
constexpr uint32_t kChild = WS_CHILD | WS_VISIBLE;

const std::vector<Resource>& Compiled() {
    static const std::vector<Resource> resources = ParseResourceFile(ReadWholeFile(ALDER_RESOURCE_FILE));
    return resources;
}

// The one resource of that type and name; fails the test if there is not exactly one.
const Resource* Only(uint16_t type, uint16_t name) {
    std::vector<const Resource*> found = FindResources(Compiled(), type, name);
    EXPECT_EQ(found.size(), 1u) << "resources of type " << type << " named " << name;
    return found.size() == 1 ? found[0] : nullptr;
}

std::string Hex(uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", value);
    return text;
}

TEST(CompiledResources, StringTableNamesTheWindowAndItsClass) {
    struct Expected {
        uint16_t id;
        const char* text;
    };
    const Expected strings[] = {
        {22, "Alder Remote Control"},  // window name
        {23, "Alder Remote Control"},  // window class name
    };
    for (const Expected& e : strings) {
        SCOPED_TRACE("string " + std::to_string(e.id));
        const Resource* block = Only(kRtString, e.id / 16 + 1);
        ASSERT_NE(block, nullptr);
        EXPECT_EQ(ParseStringTableBlock(block->data)[e.id % 16], e.text);
    }
}

TEST(CompiledResources, IconGroupsReferToTheirImages) {
    for (uint16_t group : {uint16_t{50}, uint16_t{110}}) {
        SCOPED_TRACE("icon group " + std::to_string(group));
        const Resource* resource = Only(kRtGroupIcon, group);
        ASSERT_NE(resource, nullptr);
        std::vector<GroupIconEntry> entries = ParseGroupIcon(resource->data);
        EXPECT_FALSE(entries.empty());
        for (const GroupIconEntry& entry : entries) {
            const Resource* image = Only(kRtIcon, entry.iconId);
            ASSERT_NE(image, nullptr) << "image " << entry.iconId;
            EXPECT_EQ(image->data.size(), entry.bytesInRes) << "image " << entry.iconId;
            // A DIB image is a BITMAPINFOHEADER (40 bytes) whose height counts
            // the colour and mask halves; it must agree with the directory.
            ResourceReader dib(image->data);
            ASSERT_EQ(dib.Dword(), 40u) << "image " << entry.iconId << " is not a DIB";
            EXPECT_EQ(dib.Dword(), entry.width) << "image " << entry.iconId;
            EXPECT_EQ(dib.Dword(), 2u * entry.height) << "image " << entry.iconId;
            EXPECT_EQ(dib.Word(), entry.planes);
            EXPECT_EQ(dib.Word(), entry.bitCount);
        }
    }
}

TEST(CompiledResources, AcceleratorsAreAltSlashAndAltQuestionMarkAsCharacters) {
    const Resource* resource = Only(kRtAccelerator, 23);
    ASSERT_NE(resource, nullptr);
    std::vector<Accelerator> table = ParseAcceleratorTable(resource->data);
    const Accelerator expected[] = {
        {FALT | FNOINVERT, '/', 30},
        {FALT | FNOINVERT | kLastAccelerator, '?', 32},
    };
    ASSERT_EQ(table.size(), std::size(expected));
    for (size_t i = 0; i < table.size(); ++i) {
        SCOPED_TRACE("accelerator " + std::to_string(i));
        EXPECT_EQ(Hex(table[i].flags), Hex(expected[i].flags));
        EXPECT_EQ(table[i].key, expected[i].key);
        EXPECT_EQ(table[i].command, expected[i].command);
    }
}

TEST(CompiledResources, VersionIs1_0_0_3) {
    std::vector<const Resource*> versions = FindResourcesOfType(Compiled(), kRtVersion);
    ASSERT_EQ(versions.size(), 1u);
    FixedFileInfo info = ParseFixedFileInfo(versions[0]->data);
    EXPECT_EQ(Hex(info.fileVersionMs), Hex(0x00010000));
    EXPECT_EQ(Hex(info.fileVersionLs), Hex(0x00000003));
    EXPECT_EQ(Hex(info.productVersionMs), Hex(0x00010000));
    EXPECT_EQ(Hex(info.productVersionLs), Hex(0x00000003));
    auto strings = ParseVersionStrings(versions[0]->data);
    EXPECT_EQ(strings["FileVersion"], "1.0.0.3");
    EXPECT_EQ(strings["ProductVersion"], "1.0.0.3");
}

struct ExpectedControl {
    const char* what;
    uint16_t id;
    uint16_t windowClass;
    uint32_t style;
    int16_t x, y, cx, cy;
    NameOrOrdinal title;
    bool anyText;  // the documentation leaves the text free
};

ExpectedControl Control(const char* what, uint16_t id, uint16_t windowClass, uint32_t style, int16_t x,
                        int16_t y, int16_t cx, int16_t cy, const char* text) {
    ExpectedControl control{what, id, windowClass, style, x, y, cx, cy, NameOrOrdinal::Text(text ? text : ""),
                            false};
    control.anyText = text == nullptr;
    return control;
}

ExpectedControl IconControl(const char* what, uint16_t icon, int16_t x, int16_t y, int16_t cx, int16_t cy) {
    return {what, kNoId, kStatic, kChild | SS_ICON, x, y, cx, cy, NameOrOrdinal::Ordinal(icon), false};
}

struct Box {
    int16_t x, y, cx, cy;
};

struct ExpectedDialog {
    const char* name;
    uint16_t id;
    const char* caption;
    uint32_t style;
    Box box;
    std::vector<ExpectedControl> controls;
};

const std::vector<ExpectedDialog>& Dialogs() {
    static const std::vector<ExpectedDialog> dialogs = {
        {"Setting",
         20,
         "Remote Control - Setting",
         WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_3DLOOK | DS_SETFONT,
         {0, 0, 200, 60},
         {
             Control("OK", IDOK, kButton, kChild | BS_DEFPUSHBUTTON | WS_TABSTOP, 80, 42, 40, 14, "OK"),
             Control("prompt", kNoId, kStatic, kChild | SS_LEFT | WS_GROUP, 30, 5, 160, 16,
                     "Select the application you want to launch when pressing power key on remote "
                     "controller"),
             IconControl("icon", 50, 5, 5, 21, 20),
             Control("application list", 11, kComboBox, kChild | CBS_DROPDOWN | WS_VSCROLL | WS_TABSTOP, 45,
                     25, 120, 61, ""),
         }},
        {"About",
         21,
         "Remote Control - About",
         WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT,
         {200, 100, 250, 45},
         {
             IconControl("icon", 50, 10, 10, 20, 20),
             Control("description", kNoId, kStatic, kChild | SS_LEFT | WS_GROUP, 45, 25, 165, 10, nullptr),
             Control("OK", IDOK, kButton, kChild | BS_DEFPUSHBUTTON | WS_GROUP | WS_TABSTOP, 197, 7, 35, 15,
                     "OK"),
             Control("version", kNoId, kStatic, kChild | SS_LEFT | WS_GROUP | SS_NOPREFIX, 45, 10, 140, 10,
                     "Remote Control Utility V1.0.0.3"),
         }},
        {"ShutDown",
         107,
         "Remote Control - Shut Down",
         WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT,
         {0, 0, 200, 60},
         {
             Control("OK", IDOK, kButton, kChild | BS_DEFPUSHBUTTON | WS_TABSTOP, 50, 39, 40, 15, "OK"),
             Control("Cancel", IDCANCEL, kButton, kChild | BS_PUSHBUTTON | WS_TABSTOP, 110, 39, 40, 15,
                     "Cancel"),
             Control("prompt", kNoId, kStatic, kChild | SS_LEFT | WS_GROUP, 40, 12, 145, 20,
                     "Press \"Power\" to shut down your computer, or any other key to cancel."),
             IconControl("icon", 110, 12, 12, 20, 20),
         }},
    };
    return dialogs;
}

void PrintTo(const ExpectedDialog& dialog, std::ostream* out) {
    *out << "dialog " << dialog.id;
}

class CompiledDialog : public testing::TestWithParam<ExpectedDialog> {};

TEST_P(CompiledDialog, MatchesItsDocumentedLayout) {
    const ExpectedDialog& expected = GetParam();
    const Resource* resource = Only(kRtDialog, expected.id);
    ASSERT_NE(resource, nullptr);
    DialogTemplate dialog = ParseDialogTemplate(resource->data);

    // Exactly the named styles: a bit the resource compiler adds on its own
    // (WS_POPUP on About, say) changes how the window is created.
    EXPECT_EQ(Hex(dialog.style), Hex(expected.style));
    EXPECT_EQ(Hex(dialog.extendedStyle), Hex(0));
    EXPECT_EQ(dialog.title, expected.caption);
    EXPECT_EQ(dialog.x, expected.box.x);
    EXPECT_EQ(dialog.y, expected.box.y);
    EXPECT_EQ(dialog.cx, expected.box.cx);
    EXPECT_EQ(dialog.cy, expected.box.cy);
    EXPECT_EQ(dialog.menu, NameOrOrdinal::Text("")) << "no menu";
    EXPECT_EQ(dialog.windowClass, NameOrOrdinal::Text("")) << "the standard dialog class";
    EXPECT_EQ(dialog.pointSize, 8);
    EXPECT_EQ(dialog.typeface, "Arial");

    ASSERT_EQ(dialog.items.size(), expected.controls.size());
    for (size_t i = 0; i < dialog.items.size(); ++i) {
        const DialogItem& item = dialog.items[i];
        const ExpectedControl& want = expected.controls[i];
        SCOPED_TRACE(std::string("control ") + std::to_string(i) + " (" + want.what + ")");
        EXPECT_EQ(item.id, want.id);
        EXPECT_EQ(item.windowClass, NameOrOrdinal::Ordinal(want.windowClass));
        EXPECT_EQ(Hex(item.style), Hex(want.style));
        EXPECT_EQ(Hex(item.extendedStyle), Hex(0));
        EXPECT_EQ(item.x, want.x);
        EXPECT_EQ(item.y, want.y);
        EXPECT_EQ(item.cx, want.cx);
        EXPECT_EQ(item.cy, want.cy);
        if (want.anyText) {
            EXPECT_FALSE(item.title.isOrdinal) << item.title;
        } else {
            EXPECT_EQ(item.title, want.title);
        }
        EXPECT_EQ(item.creationDataSize, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Dialogs, CompiledDialog, testing::ValuesIn(Dialogs()),
                         [](const testing::TestParamInfo<ExpectedDialog>& info) { return info.param.name; });

}  // namespace

// Checks of the fake desktop itself, where a wrong model would let the product
// tests pass against a Windows that does not exist: window lookup and titles,
// the registry's buffer rules, the timer clock and the receiver's answers.
#include <cstdint>
#include <cstring>
#include <deque>
#include <stdexcept>
#include <tuple>
#include <vector>

#include "fake_desktop_fixture.h"

namespace {

using platform::WindowHandle;

// Every match, continuing each search after the last one found; bounded, so
// that a search which never moves on fails instead of hanging.
std::vector<WindowHandle> FindAll(WindowHandle parent, const char* className, const char* title) {
    std::vector<WindowHandle> found;
    for (WindowHandle after = 0; found.size() <= fake::Desktop::Get().windows.size() &&
                                 (after = platform::FindWindowExA(parent, after, className, title)) != 0;) {
        found.push_back(after);
    }
    return found;
}

platform::LResult QuietProcedure(WindowHandle, std::uint32_t, platform::WParam, platform::LParam) {
    return 0;
}

}  // namespace

TEST_F(FakeDesktopTest, FindWindowEx_MatchesWholeStringsIgnoringCase_AndWalksZOrder) {
    const WindowHandle bottom = AddWindow("Home Theater", "TheaterFrame");
    const WindowHandle lower = AddWindow("home theater", "Other");
    const WindowHandle numbered = AddWindow("Home Theater 2", "TheaterFrame");
    const WindowHandle untitled = AddWindow("", "TheaterFrame");
    desk.Find(untitled)->visible = false;
    // The program's own window, hidden, created last: on top.
    platform::WindowClassEx windowClass{};
    windowClass.lpfnWndProc = QuietProcedure;
    windowClass.lpszClassName = "AlderMain";
    ASSERT_NE(platform::RegisterClassExA(&windowClass), 0);
    const WindowHandle own =
        platform::CreateWindowExA(0, "AlderMain", "Alder", 0, 0, 0, 10, 10, 0, 0, 0, nullptr);
    ASSERT_NE(own, 0u);

    struct Case {
        const char* className;
        const char* title;
        std::vector<WindowHandle> expected;
    };
    const Case cases[] = {
        {nullptr, "HOME THEATER", {lower, bottom}},
        {nullptr, "Home", {}},
        {nullptr, "Home Theater 2 ", {}},
        {nullptr, "", {untitled}},
        {"theaterframe", nullptr, {untitled, numbered, bottom}},
        {"TheaterFrame", "home THEATER", {bottom}},
        {"Theater", nullptr, {}},
        {"aldermain", "ALDER", {own}},
        {nullptr, nullptr, {own, untitled, numbered, lower, bottom}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "class " << (c.className ? c.className : "null") << ", title "
                                        << (c.title ? c.title : "null"));
        EXPECT_EQ(FindAll(platform::GetDesktopWindow(), c.className, c.title), c.expected);
        EXPECT_EQ(FindAll(0, c.className, c.title), c.expected);
        EXPECT_EQ(platform::FindWindowA(c.className, c.title), c.expected.empty() ? 0 : c.expected.front());
    }

    std::vector<WindowHandle> walk;
    for (WindowHandle w = platform::GetWindow(platform::GetDesktopWindow(), GW_CHILD); w != 0;
         w = platform::GetWindow(w, GW_HWNDNEXT)) {
        walk.push_back(w);
    }
    EXPECT_EQ(walk, (std::vector<WindowHandle>{own, untitled, numbered, lower, bottom}));
    // A window not on the desktop cannot continue a search.
    EXPECT_EQ(platform::FindWindowExA(0, 999, nullptr, nullptr), 0u);
}

TEST_F(FakeDesktopTest, GetWindowText_CutsAtBufferSizeMinusOne_AndTerminates) {
    const std::string title(200, 't');
    const WindowHandle window = AddWindow(title);
    constexpr WindowHandle kGone = 999;
    struct Case {
        WindowHandle window;
        int maxCount;
        int expected;
    };
    const Case cases[] = {
        {window, 128, 127}, {window, 200, 199}, {window, 201, 200}, {window, 256, 200},
        {window, 1, 0},     {window, 0, 0},     {window, -5, 0},    {kGone, 16, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << fake::W(c.window) << " maxCount " << c.maxCount);
        char buffer[300];
        std::memset(buffer, '#', sizeof buffer);
        EXPECT_EQ(platform::GetWindowTextA(c.window, buffer, c.maxCount), c.expected);
        EXPECT_EQ(std::string(buffer, static_cast<std::size_t>(c.expected)), title.substr(0, c.expected));
        const int written = c.maxCount > 0 ? c.expected + 1 : 0;
        if (written > 0) {
            EXPECT_EQ(buffer[c.expected], '\0');
        }
        EXPECT_EQ(std::string(buffer + written, sizeof buffer - written),
                  std::string(sizeof buffer - written, '#'));
    }
}

TEST_F(FakeDesktopTest, RegQueryValueEx_CopiesExactlyTheStoredBytes_OrReportsMoreData) {
    const std::string path = "HKLM\\Software\\Alder\\Test";
    desk.SetString(path, "Name", "abc");
    desk.SetString(path, "Raw", "abc", false);
    desk.SetDword(path, "", 0x11223344);
    platform::RegKey key = 0;
    ASSERT_EQ(platform::RegOpenKeyExA(HKEY_LOCAL_MACHINE, "software\\ALDER\\test", 0, KEY_ALL_ACCESS, &key),
              ERROR_SUCCESS);

    constexpr std::uint8_t kUntouched = 0xCC;
    const std::vector<std::uint8_t> abcNul{'a', 'b', 'c', 0};
    struct Case {
        const char* name;
        bool withBuffer;
        std::uint32_t size;
        long expected;
        std::uint32_t sizeAfter;
        std::uint32_t type;               // REG_NONE: not reported
        std::vector<std::uint8_t> bytes;  // the buffer's start; the rest must stay untouched
    };
    const Case cases[] = {
        {"name", true, 3, ERROR_MORE_DATA, 4, REG_SZ, {}},
        {"name", true, 0, ERROR_MORE_DATA, 4, REG_SZ, {}},
        {"NAME", true, 4, ERROR_SUCCESS, 4, REG_SZ, abcNul},
        {"Name", true, 16, ERROR_SUCCESS, 4, REG_SZ, abcNul},
        {"raw", true, 16, ERROR_SUCCESS, 3, REG_SZ, {'a', 'b', 'c'}},
        {nullptr, true, 16, ERROR_SUCCESS, 4, REG_DWORD, {0x44, 0x33, 0x22, 0x11}},
        {"", true, 4, ERROR_SUCCESS, 4, REG_DWORD, {0x44, 0x33, 0x22, 0x11}},
        {"Name", false, 0, ERROR_SUCCESS, 4, REG_SZ, {}},
        {"Missing", true, 16, ERROR_FILE_NOT_FOUND, 16, REG_NONE, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "value " << (c.name ? c.name : "null") << ", size " << c.size);
        std::uint8_t buffer[32];
        std::memset(buffer, kUntouched, sizeof buffer);
        std::uint32_t size = c.size;
        std::uint32_t type = REG_NONE;
        EXPECT_EQ(
            platform::RegQueryValueExA(key, c.name, nullptr, &type, c.withBuffer ? buffer : nullptr, &size),
            c.expected);
        EXPECT_EQ(size, c.sizeAfter);
        EXPECT_EQ(type, c.type);
        std::vector<std::uint8_t> expectedBuffer(sizeof buffer, kUntouched);
        std::copy(c.bytes.begin(), c.bytes.end(), expectedBuffer.begin());
        EXPECT_EQ(std::vector<std::uint8_t>(buffer, buffer + sizeof buffer), expectedBuffer);
    }
}

TEST_F(FakeDesktopTest, RegistryHandles_OpenOnlyExistingPermittedKeys_AndCloseOnce) {
    desk.CreateKey("HKCU\\Software\\Alder");
    desk.CreateKey("HKCU\\Software\\Locked");
    desk.denyOpen.insert("hkcu\\software\\LOCKED");
    struct Case {
        const char* subKey;
        long expected;
    };
    const Case cases[] = {
        {"SOFTWARE\\alder", ERROR_SUCCESS},
        {"Software", ERROR_SUCCESS},
        {"Software\\Alder\\Missing", ERROR_FILE_NOT_FOUND},
        {"Software\\Locked", ERROR_ACCESS_DENIED},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.subKey);
        platform::RegKey key = 0x1234;
        EXPECT_EQ(platform::RegOpenKeyExA(HKEY_CURRENT_USER, c.subKey, 0, KEY_ALL_ACCESS, &key), c.expected);
        EXPECT_EQ(key != 0, c.expected == ERROR_SUCCESS);
        if (key != 0) {
            EXPECT_EQ(desk.openKeyCount(), 1);
            EXPECT_EQ(platform::RegCloseKey(key), ERROR_SUCCESS);
            EXPECT_EQ(platform::RegCloseKey(key), 6 /*ERROR_INVALID_HANDLE*/);
        }
        EXPECT_EQ(desk.openKeyCount(), 0);
    }
}

namespace {

struct Firing {
    WindowHandle window;
    std::uintptr_t id;
    std::uint32_t tick;
    bool operator==(const Firing& other) const {
        return std::tie(window, id, tick) == std::tie(other.window, other.id, other.tick);
    }
};

std::ostream& operator<<(std::ostream& out, const Firing& firing) {
    return out << "{" << fake::W(firing.window) << ",id " << firing.id << ",tick 0x" << std::hex
               << firing.tick << std::dec << "}";
}

std::vector<Firing> firings;

void RecordFiring(WindowHandle window, std::uint32_t message, std::uintptr_t id, std::uint32_t tick) {
    // A clock that stops moving would fire for ever: fail the test instead.
    if (firings.size() > 100) throw std::runtime_error("timers keep firing without the clock moving on");
    EXPECT_EQ(message, WM_TIMER);
    EXPECT_EQ(tick, fake::Desktop::Get().tickCount);
    firings.push_back(Firing{window, id, tick});
}

// On its first tick, kills timer 2 and sets timer 3 (10 ms).
void ReshufflingTimer(WindowHandle window, std::uint32_t message, std::uintptr_t id, std::uint32_t tick) {
    if (firings.empty()) {
        platform::KillTimer(window, 2);
        platform::SetTimer(window, 3, 10, RecordFiring);
    }
    RecordFiring(window, message, id, tick);
}

}  // namespace

TEST_F(FakeDesktopTest, Advance_FiresTimersInDueOrder_AcrossTheTickWrap) {
    firings.clear();
    desk.tickCount = 0xFFFFFFF0u;
    const WindowHandle window = AddOwnWindow("Alder");
    ASSERT_EQ(platform::SetTimer(window, 1, 65, RecordFiring), 1u);
    ASSERT_EQ(platform::SetTimer(window, 2, 100, RecordFiring), 2u);

    Advance(200);

    EXPECT_EQ(
        firings,
        (std::vector<Firing>{
            {window, 1, 0x31}, {window, 2, 0x54}, {window, 1, 0x72}, {window, 1, 0xB3}, {window, 2, 0xB8}}));
    EXPECT_EQ(desk.tickCount, 0xB8u);
    EXPECT_EQ(platform::GetTickCount(), 0xB8u);
}

TEST_F(FakeDesktopTest, Advance_FollowsTimersChangedByCallbacksSleepAndReset) {
    const WindowHandle window = AddOwnWindow("Alder");
    struct Case {
        const char* what;
        void (*act)(WindowHandle window);
        std::vector<std::tuple<std::uintptr_t, std::uint32_t>> expected;  // id, tick
    };
    const Case cases[] = {
        {"a callback kills one timer and sets another",
         [](WindowHandle w) {
             platform::SetTimer(w, 1, 50, ReshufflingTimer);
             platform::SetTimer(w, 2, 60, RecordFiring);
             fake::Desktop::Get().Advance(75);
         },
         {{1, 50}, {3, 60}, {3, 70}}},
        {"setting a set timer again restarts its period",
         [](WindowHandle w) {
             platform::SetTimer(w, 1, 65, RecordFiring);
             fake::Desktop::Get().Advance(50);
             platform::SetTimer(w, 1, 65, RecordFiring);
             fake::Desktop::Get().Advance(100);
         },
         {{1, 115}}},
        {"a period of 0 ticks every 10 ms",
         [](WindowHandle w) {
             platform::SetTimer(w, 1, 0, RecordFiring);
             fake::Desktop::Get().Advance(35);
         },
         {{1, 10}, {1, 20}, {1, 30}}},
        {"Sleep fires nothing; the overdue timer fires once afterwards",
         [](WindowHandle w) {
             platform::SetTimer(w, 1, 65, RecordFiring);
             platform::Sleep(500);
             fake::Desktop::Get().Advance(1);
         },
         {{1, 500}}},
        {"a killed timer stays quiet",
         [](WindowHandle w) {
             platform::SetTimer(w, 1, 65, RecordFiring);
             EXPECT_EQ(platform::KillTimer(w, 1), 1);
             EXPECT_EQ(platform::KillTimer(w, 1), 0);
             fake::Desktop::Get().Advance(200);
         },
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        desk.tickCount = 0;
        desk.timers.clear();
        firings.clear();
        c.act(window);
        std::vector<std::tuple<std::uintptr_t, std::uint32_t>> seen;
        for (const Firing& firing : firings) seen.emplace_back(firing.id, firing.tick);
        EXPECT_EQ(seen, c.expected);
    }
    // Timers belong to the program's own windows only.
    EXPECT_EQ(platform::SetTimer(AddWindow("TV"), 1, 65, RecordFiring), 0u);
}

namespace {

std::vector<std::uint8_t> StatusRequest(std::uint8_t selector) {
    std::vector<std::uint8_t> request{0x89, 0xE5, 0x90, 0x94, 0x17, 0x6B, 0xEC, 0x44,
                                      0x94, 0x35, 0x5E, 0x35, 0x87, 0xF9, 0xFB, 0xCE};
    request.resize(32);
    request[24] = selector;
    return request;
}

std::vector<std::uint8_t> TransferRequest(std::uint8_t deviceAddress, std::uint32_t readBuffer,
                                          std::uint32_t count) {
    std::vector<std::uint8_t> request{0x66, 0xC4, 0xB1, 0xFB, 0x03, 0xBE, 0x0F, 0x47,
                                      0x9A, 0x8F, 0xA2, 0xAA, 0x0F, 0xA2, 0xC0, 0xEE};
    request.resize(48);
    request[24] = deviceAddress;
    for (int i = 0; i < 4; ++i) {
        request[36 + i] = static_cast<std::uint8_t>(readBuffer >> (8 * i));
        request[40 + i] = static_cast<std::uint8_t>(count >> (8 * i));
    }
    return request;
}

}  // namespace

TEST_F(FakeDesktopTest, KsProperty_AnswersStatusAndTransferFromTheKeyQueue) {
    const char* const names[] = {"Capture"};
    const platform::ReceiverControl control = platform::OpenCaptureFilterControl(names, 1, "Graph");
    ASSERT_NE(control, nullptr);

    enum Kind { kStatus, kTransfer, kStatusAsTransfer, kTransferToUnknownBuffer };
    constexpr std::uint8_t kUntouched = 0xCC;
    struct Case {
        const char* what;
        Kind kind;
        std::uint8_t selectorOrAddress;
        std::deque<std::uint8_t> queue;
        std::int32_t statusResult;
        std::int32_t transferResult;
        std::int32_t expected;
        std::vector<std::uint8_t> answer;  // status byte, or the read buffer's first 3 bytes
        std::deque<std::uint8_t> queueAfter;
    };
    const Case cases[] = {
        {"code waiting", kStatus, 8, {0x15}, 0, 0, S_OK, {0}, {0x15}},
        {"nothing waiting", kStatus, 8, {}, 0, 0, S_OK, {1}, {}},
        {"other selector", kStatus, 7, {0x15}, 0, 0, S_OK, {1}, {0x15}},
        {"status fails", kStatus, 8, {0x15}, E_FAIL, 0, E_FAIL, {kUntouched}, {0x15}},
        {"read the code", kTransfer, 0x60, {0x15, 0x16}, 0, 0, S_OK, {0x15, 0, kUntouched}, {0x16}},
        {"read with none waiting", kTransfer, 0x60, {}, 0, 0, S_OK, {0, 0, kUntouched}, {}},
        {"other device", kTransfer, 0x50, {0x15}, 0, 0, S_OK, {0, 0, kUntouched}, {0x15}},
        {"transfer fails",
         kTransfer,
         0x60,
         {0x15},
         0,
         E_FAIL,
         E_FAIL,
         {kUntouched, kUntouched, kUntouched},
         {0x15}},
        {"unknown buffer",
         kTransferToUnknownBuffer,
         0x60,
         {0x15},
         0,
         0,
         E_FAIL,
         {kUntouched, kUntouched, kUntouched},
         {0x15}},
        {"status set, transfer layout", kStatusAsTransfer, 8, {0x15}, 0, 0, E_FAIL, {kUntouched}, {0x15}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        desk.keyQueue = c.queue;
        desk.statusResult = c.statusResult;
        desk.transferResult = c.transferResult;
        desk.ksRequests.clear();
        std::uint8_t data[8];
        std::memset(data, kUntouched, sizeof data);
        std::uint8_t readBuffer[3];
        std::memset(readBuffer, kUntouched, sizeof readBuffer);
        std::vector<std::uint8_t> request;
        std::uint32_t dataLength = 8;
        switch (c.kind) {
            case kStatus:
                request = StatusRequest(c.selectorOrAddress);
                dataLength = 1;
                break;
            case kTransfer:
                request = TransferRequest(c.selectorOrAddress, platform::DriverAddress(readBuffer), 2);
                break;
            case kTransferToUnknownBuffer:
                request = TransferRequest(c.selectorOrAddress, 0xDEAD, 2);
                break;
            case kStatusAsTransfer:
                request = StatusRequest(c.selectorOrAddress);
                request.resize(48);
                break;
        }
        std::uint32_t returned = 0;
        EXPECT_EQ(platform::KsProperty(control, request.data(), static_cast<std::uint32_t>(request.size()),
                                       data, dataLength, &returned),
                  c.expected);
        const std::uint8_t* answer = c.kind == kStatus || c.kind == kStatusAsTransfer ? data : readBuffer;
        EXPECT_EQ(std::vector<std::uint8_t>(answer, answer + c.answer.size()), c.answer);
        EXPECT_EQ(desk.keyQueue, c.queueAfter);
        ASSERT_EQ(desk.ksRequests.size(), 1u);
        EXPECT_EQ(desk.ksRequests[0].property, request);
        EXPECT_EQ(desk.ksRequests[0].dataOnEntry, std::vector<std::uint8_t>(dataLength, kUntouched));
    }

    desk.ksRequests.clear();
    std::vector<std::uint8_t> request = StatusRequest(8);
    std::uint8_t status = 0;
    EXPECT_EQ(platform::KsProperty(nullptr, request.data(), 32, &status, 1, nullptr), E_FAIL);
    EXPECT_TRUE(desk.ksRequests.empty());
    desk.receiverPresent = false;
    EXPECT_EQ(platform::OpenCaptureFilterControl(names, 1, "Graph"), nullptr);
}

// Reads the resources as windres compiled them (the .res file) and checks the
// tray menu and its bitmaps against what the user must see.
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

const uint16_t kEnglishUs = 1033;
const uint16_t kTypeBitmap = 2;
const uint16_t kTypeMenu = 4;
const uint16_t kPopupFlag = 0x10;
const uint16_t kEndFlag = 0x80;

struct Resource {
    std::u16string type;  // a name, or "#" and the number
    std::u16string name;
    uint16_t language;
    std::vector<uint8_t> data;
};

uint16_t Word(const std::vector<uint8_t> &bytes, size_t at)
{
    return at + 2 <= bytes.size() ? uint16_t(bytes[at] | bytes[at + 1] << 8) : 0;
}

uint32_t Dword(const std::vector<uint8_t> &bytes, size_t at)
{
    return Word(bytes, at) | uint32_t(Word(bytes, at + 2)) << 16;
}

// A zero-terminated UTF-16 string at 'at'; moves 'at' past it.
std::u16string String(const std::vector<uint8_t> &bytes, size_t &at)
{
    std::u16string text;
    for (; at < bytes.size() && Word(bytes, at) != 0; at += 2)
        text += char16_t(Word(bytes, at));
    at += 2;
    return text;
}

// A type or name field: 0xFFFF and a number, or a string.
std::u16string NameOrNumber(const std::vector<uint8_t> &bytes, size_t &at)
{
    if (Word(bytes, at) != 0xFFFF)
        return String(bytes, at);
    std::string number = "#" + std::to_string(Word(bytes, at + 2));
    at += 4;
    return std::u16string(number.begin(), number.end());
}

std::vector<Resource> ReadResources(const char *path)
{
    std::ifstream file(path, std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::vector<Resource> resources;
    for (size_t at = 0; at + 32 <= bytes.size();) {
        uint32_t dataSize = Dword(bytes, at), headerSize = Dword(bytes, at + 4);
        size_t field = at + 8;
        Resource resource;
        resource.type = NameOrNumber(bytes, field);
        resource.name = NameOrNumber(bytes, field);
        field = (field + 3) & ~size_t(3);
        resource.language = Word(bytes, field + 6);
        size_t data = at + headerSize;
        if (data + dataSize > bytes.size())
            break;
        resource.data.assign(bytes.begin() + data, bytes.begin() + data + dataSize);
        if (dataSize != 0)
            resources.push_back(resource);
        at = (data + dataSize + 3) & ~size_t(3);
    }
    return resources;
}

const Resource *Find(const std::vector<Resource> &resources, uint16_t type, const std::u16string &name)
{
    std::string number = "#" + std::to_string(type);
    for (const Resource &resource : resources) {
        if (resource.type == std::u16string(number.begin(), number.end()) && resource.name == name)
            return &resource;
    }
    return nullptr;
}

std::string Utf8(const std::u16string &text)
{
    std::string out;
    for (char16_t c : text) {
        if (c < 0x80) {
            out += char(c);
        } else if (c < 0x800) {
            out += char(0xC0 | c >> 6);
            out += char(0x80 | (c & 0x3F));
        } else {
            out += char(0xE0 | c >> 12);
            out += char(0x80 | (c >> 6 & 0x3F));
            out += char(0x80 | (c & 0x3F));
        }
    }
    return out;
}

struct MenuOutline {
    std::string text;  // one line per item, indented by depth
    std::vector<int> commands;
};

// Walks one level of a standard menu template; a tab shows as "\t".
void OutlineLevel(const std::vector<uint8_t> &data, size_t &at, int depth, MenuOutline &outline)
{
    for (uint16_t flags = 0; at < data.size() && !(flags & kEndFlag);) {
        flags = Word(data, at);
        at += 2;
        uint16_t command = (flags & kPopupFlag) ? 0 : Word(data, at);
        if (!(flags & kPopupFlag))
            at += 2;
        std::string caption = Utf8(String(data, at));
        for (size_t tab; (tab = caption.find('\t')) != std::string::npos;)
            caption.replace(tab, 1, "\\t");
        std::string line = std::string(2 * depth, ' ') + caption;
        if (flags & kPopupFlag)
            line += " >";
        else if (command != 0 || !caption.empty())
            line += " = " + std::to_string(command);
        else
            line += "---";
        if (uint16_t extra = flags & ~(kPopupFlag | kEndFlag))
            line += " [flags " + std::to_string(extra) + "]";
        outline.text += line + "\n";
        if (command != 0)
            outline.commands.push_back(command);
        if (flags & kPopupFlag)
            OutlineLevel(data, at, depth + 1, outline);
    }
}

MenuOutline OutlineMenu(const std::vector<uint8_t> &data)
{
    MenuOutline outline;
    size_t at = 4 + Word(data, 2);  // version word, then the header's extra bytes
    OutlineLevel(data, at, 0, outline);
    return outline;
}

class TrayMenuResource : public ::testing::Test {
protected:
    std::vector<Resource> resources = ReadResources(COMPILED_RESOURCES);
};

std::string Text(const char8_t *text)
{
    return reinterpret_cast<const char *>(text);
}

// The top-level caption is never shown: only its popup matters.
const char8_t kExpectedPopup[] = u8R"(  热键功能(&U) >
    热键设置(&K)... = 10042
    ---
    加大音量\tCtrl+→ = 10001
    减小音量\tCtrl+← = 10002
    静音\tCtrl+End = 10003
    ---
    加大亮度\tCtrl+↑ = 10004
    减小亮度\tCtrl+↓ = 10005
    默认亮度\tCtrl+Home = 10006
    ---
    关闭显示器\tShift+Insert = 10021
    屏幕截图\tCtrl+F3 = 10037
    ---
    隐藏/显示程序\tCtrl+F12 = 10007
    退出程序\tShift+End = 10008
  系统工具(&T) >
    注册表编辑器 = 10009
    系统信息 = 10038
    组策略编辑器 = 10011
    命令提示符 = 10012
    任务管理器(&T) = 10013
    计算器(&C) = 10015
    添加删除程序 = 10010
    设备管理器 = 10014
  系统控制(&C) >
    打开光驱 = 10016
    关闭光驱 = 10017
    ---
    重建图标缓存 = 10020
    显示桌面 = 10018
    启动屏保(&S) = 10019
    ---
    关闭显示器 = 10021
    分辨率设置(&F) >
      1024×768 = 10022
      1280×800 = 10023
      1440×900 = 10024
      1366×768 = 10026
      1680×1050 = 10025
      800×600 = 10027
    ---
    定时提醒 = 10040
  电源操作(&P) >
    强制关机 = 10033
    强制重启 = 10034
    ---
    关机 = 10028
    重新启动 = 10029
    注销(&L) = 10030
    ---
    睡眠 = 10031
    休眠(&H) = 10032
    锁定 = 10041
  ---
  关于 = 10035
  开机启动 = 10036
  退出(&E) = 10008
)";

TEST_F(TrayMenuResource, MenuHasOnePopupWithTheTablesItemsAndNoState)
{
    const Resource *menu = Find(resources, kTypeMenu, u"MENU");
    ASSERT_NE(menu, nullptr) << "no menu resource named MENU in " COMPILED_RESOURCES;
    EXPECT_EQ(menu->language, kEnglishUs);
    std::string outline = OutlineMenu(menu->data).text;
    size_t firstLineEnd = outline.find('\n');
    ASSERT_NE(firstLineEnd, std::string::npos);
    EXPECT_EQ(outline.substr(firstLineEnd - 2, 2), " >") << "the top level must be one popup";
    EXPECT_EQ(outline.substr(firstLineEnd + 1), Text(kExpectedPopup));
}

TEST_F(TrayMenuResource, EveryCommandButTheUnusedOneHasAnItem)
{
    const Resource *menu = Find(resources, kTypeMenu, u"MENU");
    ASSERT_NE(menu, nullptr);
    std::vector<int> commands = OutlineMenu(menu->data).commands;
    std::set<int> expected;
    for (int command = 10001; command <= 10042; command++) {
        if (command != 10039)
            expected.insert(command);
    }
    EXPECT_EQ(std::set<int>(commands.begin(), commands.end()), expected);
}

TEST_F(TrayMenuResource, BitmapsAre16By16With555PixelsAndTheirBackgrounds)
{
    const struct {
        const char16_t *name;
        bool whiteBackground;
    } bitmaps[] = {{u"TIME", true}, {u"POWER", true}, {u"UP", true},  {u"UPER", true},
                   {u"DOWN", true}, {u"LOW", true},   {u"RES", false}, {u"EXIT", true}};
    const uint16_t white555 = 0x7FFF;
    for (const auto &expected : bitmaps) {
        SCOPED_TRACE(Utf8(expected.name));
        const Resource *bitmap = Find(resources, kTypeBitmap, expected.name);
        ASSERT_NE(bitmap, nullptr) << "missing bitmap";
        EXPECT_EQ(bitmap->language, kEnglishUs);
        const std::vector<uint8_t> &data = bitmap->data;
        ASSERT_EQ(data.size(), 40u + 16 * 16 * 2) << "header and 16x16 pixels of 2 bytes, nothing else";
        EXPECT_EQ(Dword(data, 0), 40u) << "header size";
        EXPECT_EQ(Dword(data, 4), 16u) << "width";
        EXPECT_EQ(Dword(data, 8), 16u) << "height, bottom-up";
        EXPECT_EQ(Word(data, 14), 16) << "bits per pixel";
        EXPECT_EQ(Dword(data, 16), 0u) << "BI_RGB: 5-5-5, uncompressed";
        EXPECT_EQ(Dword(data, 32), 0u) << "no colour table";
        for (size_t corner : {0u, 15u, 15u * 16, 16u * 16 - 1}) {
            uint16_t pixel = Word(data, 40 + 2 * corner);
            EXPECT_EQ(pixel == white555, expected.whiteBackground) << "corner pixel " << corner << " is " << pixel;
        }
    }
}

// Without a DPI-awareness declaration a scaled display gives the program
// scaled metrics while the screen DC is not scaled: the screenshot overlay
// would cover part of the screen and save the wrong region. Windows reads
// both settings only inside application/windowsSettings, each in its own
// namespace.
TEST_F(TrayMenuResource, ManifestDeclaresPerMonitorDpiAwarenessWithSystemFallback)
{
    const Resource *manifest = Find(resources, 24, u"#1");
    ASSERT_NE(manifest, nullptr) << "no manifest resource 1";
    const std::string text(manifest->data.begin(), manifest->data.end());
    const size_t settings = text.find("<application xmlns=\"urn:schemas-microsoft-com:asm.v3\">\n    <windowsSettings>");
    ASSERT_NE(settings, std::string::npos) << "no application/windowsSettings";
    const size_t end = text.find("</windowsSettings>", settings);
    for (const char *setting :
         {"<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">true/pm</dpiAware>",
          "<dpiAwareness xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\">PerMonitorV2, PerMonitor</dpiAwareness>"}) {
        const size_t at = text.find(setting, settings);
        EXPECT_TRUE(at != std::string::npos && at < end) << setting;
    }
}

}  // namespace

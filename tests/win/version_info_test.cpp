// What Explorer's Properties show for the shipped programs: their VERSIONINFO
// as Windows (here Wine) reads it from the .exe files of this tree. And the
// program manifest, which names the same version.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "Version.h"
#include "platform/Text.h"

namespace {

class VersionInfo {
 public:
  explicit VersionInfo(const wchar_t* file) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(file, &ignored);
    if (size == 0) return;
    data_.resize(size);
    if (!GetFileVersionInfoW(file, 0, size, data_.data())) data_.clear();
  }

  bool Found() const { return !data_.empty(); }

  const VS_FIXEDFILEINFO* Fixed() const {
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(data_.data(), L"\\", &value, &length) || length < sizeof(VS_FIXEDFILEINFO)) return nullptr;
    return static_cast<const VS_FIXEDFILEINFO*>(value);
  }

  // The first language and code page of the translation table, as one number.
  DWORD Translation() const {
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(data_.data(), L"\\VarFileInfo\\Translation", &value, &length) || length < 4) return 0;
    const auto* pair = static_cast<const WORD*>(value);
    return MAKELONG(pair[1], pair[0]);
  }

  std::wstring Text(const wchar_t* name) const {
    const std::wstring path = std::wstring(L"\\StringFileInfo\\041104B0\\") + name;
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(data_.data(), path.c_str(), &value, &length) || length == 0) return L"(none)";
    return static_cast<const wchar_t*>(value);
  }

 private:
  std::vector<char> data_;
};

void ExpectShippedProgram(const wchar_t* file, const wchar_t* fileName, const wchar_t* description) {
  SCOPED_TRACE(testing::Message() << file);
  const VersionInfo info(file);
  ASSERT_TRUE(info.Found()) << "no VERSIONINFO";

  const VS_FIXEDFILEINFO* fixed = info.Fixed();
  ASSERT_NE(fixed, nullptr);
  EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
  constexpr DWORD VersionMS = (VALTEA_VERSION_MAJOR << 16) | VALTEA_VERSION_MINOR;
  constexpr DWORD VersionLS = (VALTEA_VERSION_PATCH << 16) | VALTEA_VERSION_TWEAK;
  EXPECT_EQ(fixed->dwFileVersionMS, VersionMS);
  EXPECT_EQ(fixed->dwFileVersionLS, VersionLS);
  EXPECT_EQ(fixed->dwProductVersionMS, VersionMS);
  EXPECT_EQ(fixed->dwProductVersionLS, VersionLS);
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));

  EXPECT_EQ(info.Translation(), 0x041104B0u) << "Japanese, UTF-16";
  EXPECT_EQ(info.Text(L"ProductName"), L"ヴァルテア 街道エディタ");
  EXPECT_EQ(info.Text(L"ProductVersion"), Widen(VALTEA_VERSION));
  EXPECT_EQ(info.Text(L"FileVersion"), Widen(VALTEA_VERSION));
  EXPECT_EQ(info.Text(L"FileDescription"), description);
  EXPECT_EQ(info.Text(L"OriginalFilename"), fileName);
  EXPECT_EQ(info.Text(L"InternalName"), fileName);
  // The author as the About box names it, and the licence.
  EXPECT_EQ(info.Text(L"CompanyName"), L"ヴァルテア街道エディタ制作班");
  EXPECT_EQ(info.Text(L"LegalCopyright"), L"(C) 2026 ヴァルテア街道エディタ制作班 (MIT License)");
}

TEST(VersionInfo, EditorShowsProductVersionAndDescription) {
  ExpectShippedProgram(VALTEA_EDITOR_EXE, L"ValteaRoadEditor.exe", L"ヴァルテア 街道エディタ (MAPDATA.VLT の街道を編集)");
}

#ifdef VALTEA_MAP_EXE
TEST(VersionInfo, CommandLineCompanionShowsProductVersionAndDescription) {
  ExpectShippedProgram(VALTEA_MAP_EXE, L"valtea-map.exe", L"valtea-map (MAPDATA.VLT を調べて変換するコマンド)");
}
#endif

TEST(VersionInfo, ProgramsWithoutOneHaveNone) {
  // This test program is no shipped program: the check above can tell.
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  EXPECT_FALSE(VersionInfo(self).Found());
}

TEST(ProgramManifest, NamesTheSameVersion) {
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));  // RT_MANIFEST
  ASSERT_NE(found, nullptr);
  const auto* bytes = static_cast<const char*>(LockResource(LoadResource(module, found)));
  const std::string manifest(bytes, SizeofResource(module, found));
  const std::string version = std::to_string(VALTEA_VERSION_MAJOR) + "." + std::to_string(VALTEA_VERSION_MINOR) + "." +
                              std::to_string(VALTEA_VERSION_PATCH) + "." + std::to_string(VALTEA_VERSION_TWEAK);
  EXPECT_NE(manifest.find("name=\"Valtea.RoadEditor\" version=\"" + version + "\""), std::string::npos) << manifest;
  // Aware of each monitor's DPI, per-monitor v2 first.
  EXPECT_NE(manifest.find("<dpiAwareness xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\">PerMonitorV2, "
                          "PerMonitor</dpiAwareness>"),
            std::string::npos);
  EXPECT_NE(manifest.find("{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"), std::string::npos) << "Windows 10 and 11";
}

}  // namespace

#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <iterator>
#include <utility>
#include <vector>

#include "platform/contract/file_cases.h"
#include "platform/win32/handles.h"
#include "platform/win32/win32_file_system.h"
#include "scoped_temp_folder.h"

namespace vw::win32 {
namespace {

// A Windows program under Wine cannot make a link (CreateSymbolicLinkA
// reports success and makes nothing), so ctest stages Unix links here
// before this program starts, as the cases that need links expect them.
constexpr char kLinkRoot[] = "C:\\vw-fs-links";

// Stages through the wide API with long-path names, independent of the
// backend's own conversion: names of any script and any depth.
std::wstring Wide(const std::string& path) {
    const int n = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path.data(),
                                        static_cast<int>(path.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path.data(), static_cast<int>(path.size()),
                          wide.data(), n);
    return L"\\\\?\\" + wide;
}

class Win32Stage : public contract::FileStage {
  public:
    explicit Win32Stage(std::string root) : root_(std::move(root)) {}

    FileSystem& Files() override { return fs_; }
    const std::string& Root() const override { return root_; }
    bool RemovesFolderLinks() const override { return false; }

    void MakeFolder(const std::string& name, std::uint32_t attributes) override {
        MakeParents(name);
        const std::string path = Path(name);
        if (!::CreateDirectoryW(Wide(path).c_str(), nullptr)) {
            EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS)) << path;
        }
        SetAttributes(path, attributes);
    }

    void MakeFile(const std::string& name, const std::string& bytes,
                  std::uint32_t attributes) override {
        MakeParents(name);
        const std::string path = Path(name);
        {
            UniqueFileHandle file(::CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
            DWORD written = 0;
            EXPECT_TRUE(file && ::WriteFile(file.get(), bytes.data(),
                                            static_cast<DWORD>(bytes.size()), &written, nullptr))
                << "cannot write " << path;
        }
        SetAttributes(path, attributes);
    }

    void HoldOpen(const std::string& name) override {
        UniqueFileHandle file(::CreateFileW(Wide(Path(name)).c_str(), GENERIC_READ, 0, nullptr,
                                            OPEN_EXISTING, 0, nullptr));
        EXPECT_TRUE(file) << "cannot hold " << name;
        held_.push_back(std::move(file));
    }

    bool Exists(const std::string& name) override {
        return ::GetFileAttributesW(Wide(Path(name)).c_str()) != INVALID_FILE_ATTRIBUTES;
    }

    std::string Content(const std::string& name) override {
        UniqueFileHandle file(::CreateFileW(Wide(Path(name)).c_str(), GENERIC_READ,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                            OPEN_EXISTING, 0, nullptr));
        std::string bytes;
        char chunk[4096];
        DWORD read = 0;
        while (file && ::ReadFile(file.get(), chunk, sizeof chunk, &read, nullptr) && read > 0) {
            bytes.append(chunk, read);
        }
        return bytes;
    }

  private:
    std::string Path(const std::string& name) const { return root_ + "\\" + name; }
    void MakeParents(const std::string& name) {
        for (auto slash = name.find('\\'); slash != std::string::npos;
             slash = name.find('\\', slash + 1)) {
            ::CreateDirectoryW(Wide(Path(name.substr(0, slash))).c_str(), nullptr);
        }
    }
    static void SetAttributes(const std::string& path, std::uint32_t attributes) {
        if (attributes != 0) {
            EXPECT_TRUE(::SetFileAttributesW(Wide(path).c_str(), attributes)) << path;
        }
    }

    std::string root_;
    Win32FileSystem fs_;
    std::vector<UniqueFileHandle> held_;
};

bool LinksStaged() {
    WIN32_FIND_DATAA link{};
    UniqueFindHandle find(
        ::FindFirstFileA((std::string(kLinkRoot) + "\\victim\\link").c_str(), &link));
    return find && (link.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

class Win32FileContract : public ::testing::TestWithParam<contract::FileCase> {};

TEST_P(Win32FileContract, BehavesLikeTheSimulation) {
    const contract::FileCase& c = GetParam();
    if (c.needs == contract::Needs::kLinks && !LinksStaged()) {
        GTEST_SKIP() << "needs the links that ctest stages (win32_stage_set)";
    }
    if (c.needs == contract::Needs::kDriveWithoutMedium && ::GetDriveTypeA("N:\\") != DRIVE_CDROM) {
        GTEST_SKIP() << "needs drive N: that ctest stages (win32_stage_set)";
    }
    test::ScopedTempFolder folder;
    Win32Stage stage(c.needs == contract::Needs::kLinks ? kLinkRoot : folder.Path());
    c.run(stage);
}

INSTANTIATE_TEST_SUITE_P(Cases, Win32FileContract, ::testing::ValuesIn(contract::FileCases()),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace vw::win32

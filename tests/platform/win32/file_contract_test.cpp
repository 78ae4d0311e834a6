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

// A Windows program under Wine cannot make a folder link (CreateSymbolicLinkA
// reports success and makes nothing), so ctest stages a Unix link here
// before this program starts: victim\link leads to target.
constexpr char kLinkRoot[] = "C:\\vw-fs-links";

class Win32Stage : public contract::FileStage {
  public:
    explicit Win32Stage(std::string root) : root_(std::move(root)) {}

    FileSystem& Files() override { return fs_; }
    const std::string& Root() const override { return root_; }

    void MakeFolder(const std::string& name, std::uint32_t attributes) override {
        MakeParents(name);
        const std::string path = Path(name);
        if (!::CreateDirectoryA(path.c_str(), nullptr)) {
            EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS)) << path;
        }
        SetAttributes(path, attributes);
    }

    void MakeFile(const std::string& name, const std::string& bytes,
                  std::uint32_t attributes) override {
        MakeParents(name);
        const std::string path = Path(name);
        {
            std::ofstream out(path, std::ios::binary | std::ios::trunc);
            out << bytes;
            EXPECT_TRUE(out.good()) << "cannot write " << path;
        }
        SetAttributes(path, attributes);
    }

    void HoldOpen(const std::string& name) override {
        UniqueFileHandle file(
            ::CreateFileA(Path(name).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        EXPECT_TRUE(file) << "cannot hold " << name;
        held_.push_back(std::move(file));
    }

    bool Exists(const std::string& name) override {
        return ::GetFileAttributesA(Path(name).c_str()) != INVALID_FILE_ATTRIBUTES;
    }

    std::string Content(const std::string& name) override {
        std::ifstream in(Path(name), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

  private:
    std::string Path(const std::string& name) const { return root_ + "\\" + name; }
    void MakeParents(const std::string& name) {
        for (auto slash = name.find('\\'); slash != std::string::npos;
             slash = name.find('\\', slash + 1)) {
            ::CreateDirectoryA(Path(name.substr(0, slash)).c_str(), nullptr);
        }
    }
    static void SetAttributes(const std::string& path, std::uint32_t attributes) {
        if (attributes != 0) {
            EXPECT_TRUE(::SetFileAttributesA(path.c_str(), attributes)) << path;
        }
    }

    std::string root_;
    Win32FileSystem fs_;
    std::vector<UniqueFileHandle> held_;
};

class Win32FileContract : public ::testing::TestWithParam<contract::FileCase> {};

TEST_P(Win32FileContract, BehavesLikeTheSimulation) {
    test::ScopedTempFolder folder;
    Win32Stage stage(folder.Path());
    GetParam().run(stage);
}

INSTANTIATE_TEST_SUITE_P(Cases, Win32FileContract, ::testing::ValuesIn(contract::FileCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Win32FileLinkContract, DeleteFolderLeavesTheLinkTargetAlone) {
    WIN32_FIND_DATAA link{};
    UniqueFindHandle find(
        ::FindFirstFileA((std::string(kLinkRoot) + "\\victim\\link").c_str(), &link));
    if (!find || !(link.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        GTEST_SKIP() << "needs the folder link that ctest stages (win32_file_links_stage)";
    }
    find.reset();
    Win32Stage stage(kLinkRoot);
    contract::RunFolderLinkCase(stage, false);
}

TEST(Win32ListingContract, ListsEveryCaseLikeTheSimulation) {
    test::ScopedTempFolder folder;
    Win32Stage stage(folder.Path());
    contract::ExpectListings(stage, contract::ListingTree(), contract::ListingCases());
}

TEST(Win32ListingContract, ListsTheWashersMasksLikeTheSimulation) {
    test::ScopedTempFolder folder;
    Win32Stage stage(folder.Path());
    contract::ExpectListings(stage, contract::WildcardTree(), contract::WildcardCases());
}

}  // namespace
}  // namespace vw::win32

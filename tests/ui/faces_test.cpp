#include <set>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "ui/layout_table.h"

namespace {

struct FaceCase {
    const char* name;
    std::set<std::string, std::less<>> installed;
    std::string_view chosen;
};

// The system Japanese faces a Windows without the optional Japanese fonts has.
constexpr std::string_view kPlatformFaces[] = {"Yu Gothic UI", "Meiryo UI", "MS UI Gothic"};

class ChooseFamily : public testing::TestWithParam<FaceCase> {};

TEST_P(ChooseFamily, TakesTheFirstInstalledInOrder) {
    const FaceCase& c = GetParam();
    const auto installed = [&c](std::string_view family) { return c.installed.contains(family); };
    EXPECT_EQ(ui::chooseFamily(installed, kPlatformFaces), c.chosen);
}

INSTANTIATE_TEST_SUITE_P(
    Faces, ChooseFamily,
    testing::Values(
        FaceCase{
            "japanese_windows", {"ＭＳ Ｐゴシック", "MS PGothic", "Meiryo UI"}, "ＭＳ Ｐゴシック"},
        FaceCase{"english_name_only", {"MS PGothic", "Yu Gothic UI"}, "MS PGothic"},
        FaceCase{"debian_with_ipa", {"DejaVu Sans", "IPAGothic", "IPAPGothic"}, "IPAPGothic"},
        FaceCase{"noto_only", {"DejaVu Sans", "Noto Sans CJK JP"}, "Noto Sans CJK JP"},
        FaceCase{
            "windows_without_japanese_pack", {"Arial", "Meiryo UI", "MS UI Gothic"}, "Meiryo UI"},
        FaceCase{"nothing_japanese", {"Arial", "DejaVu Sans"}, ""}),
    [](const testing::TestParamInfo<FaceCase>& row) { return std::string(row.param.name); });

}  // namespace

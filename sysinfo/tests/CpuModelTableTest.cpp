#include <gtest/gtest.h>

#include <string>

#include "sysinfo/CpuModelTable.h"

namespace bs {
namespace {

struct Expected {
    std::string name;
    std::string codeName;
    int bus;
    int transistors;
};

Expected Look(int vendor, int family, int model, int mhz = 0, int level2 = 0, int type = 0,
              int brand = 0) {
    auto row = LookUpCpuModel({vendor, family, model, mhz, level2, type, brand});
    if (!row)
        return {"<none>", "", -1, -1};
    return {row->modelName ? row->modelName : "<brand>", row->codeName ? row->codeName : "",
            row->busSpeed, row->transistors};
}

void ExpectRow(const Expected& actual, const Expected& expected, int line) {
    SCOPED_TRACE("line " + std::to_string(line));
    EXPECT_EQ(actual.name, expected.name);
    EXPECT_EQ(actual.codeName, expected.codeName);
    EXPECT_EQ(actual.bus, expected.bus);
    EXPECT_EQ(actual.transistors, expected.transistors);
}
#define EXPECT_ROW(actual, ...) ExpectRow(actual, Expected{__VA_ARGS__}, __LINE__)

TEST(CpuModelTable, LevelTwoSizeChoosesBetweenCeleronPentiumIIAndXeon) {
    EXPECT_ROW(Look(1, 6, 5, 266, 0), "Celeron", "Covington (0,25µm)", 66, 7'500'000);
    EXPECT_ROW(Look(1, 6, 5, 350, 512), "Pentium II", "Deschutes (0,25µm)", 100, 7'500'000);
    EXPECT_ROW(Look(1, 6, 5, 450, 1024), "Pentium II Xeon", "Deschutes (0.25 µm)", 100, 7'500'000);
    EXPECT_ROW(Look(1, 6, 6, 333, 128), "Celeron A", "Mendocino (0.25 µm)", 66, 19'000'000);
    EXPECT_ROW(Look(1, 6, 6, 333, 256), "Pentium II PE (mobile)", "Dixon (0.25 µm)", 66,
               27'400'000);
    EXPECT_ROW(Look(1, 6, 7, 550, 1024), "Pentium III Xeon", "Tanner (0.25 µm)", 100, 9'500'000);
    EXPECT_ROW(Look(1, 6, 8, 400), "Pentium III E", "Coppermine (0.18 µm)", 100, 28'100'000);
    EXPECT_ROW(Look(1, 6, 8, 733), "Pentium III E", "Coppermine (0.18 µm)", 133, 28'100'000);
}

TEST(CpuModelTable, BrandIndexChoosesTheNameOfFamiliesSevenAndEight) {
    EXPECT_ROW(Look(1, 7, 0, 0, 0, 0, 1), "Celeron", "", 0, 0);
    EXPECT_ROW(Look(1, 8, 3, 0, 0, 0, 3), "Pentium III Xeon", "", 0, 0);
    EXPECT_ROW(Look(1, 8, 9, 0, 0, 0, 4), "Pentium IV", "", 0, 0);
    EXPECT_ROW(Look(1, 8, 1, 0, 1024, 0, 2), "Pentium III Xeon", "", 0, 0);
    EXPECT_ROW(Look(1, 7, 1, 0, 512, 0, 0), "Pentium III", "", 0, 0);
    EXPECT_ROW(Look(1, 10, 0), "Pentium III Xeon", "", 0, 0);
}

TEST(CpuModelTable, BusSpeedRulesFollowTheMeasuredClock) {
    EXPECT_ROW(Look(1, 4, 2, 16), "i80486SX", "P23", 8, 900'000);
    EXPECT_ROW(Look(1, 4, 2, 33), "i80486SX", "P23", 33, 900'000);
    EXPECT_ROW(Look(1, 4, 8, 100), "i80486DX4", "P24C", 33, 1'600'000);
    EXPECT_ROW(Look(1, 5, 2, 60), "Pentium", "P54C (0,50µm)", 50, 3'100'000);
    EXPECT_ROW(Look(1, 5, 2, 90), "Pentium", "P54C (0,50µm)", 66, 3'100'000);
    EXPECT_ROW(Look(1, 5, 4, 166), "Pentium MMX", "P55C (0,28µm)", 60, 4'500'000);
    EXPECT_ROW(Look(2, 5, 8, 266), "K6-II", "Chomper (0.25 µm)", 66, 9'300'000);
    EXPECT_ROW(Look(2, 5, 8, 300), "K6-II", "Chomper (0.25 µm)", 100, 9'300'000);
    EXPECT_ROW(Look(2, 6, 4, 1000), "K7", "Athlon (0.25-0.18 µm)", 100, 22'000'000);
    EXPECT_ROW(Look(4, 5, 8, 240), "WinChip 2x", "W2x (0.35-0.25 µm)", 80, 59'000'000);
    EXPECT_ROW(Look(7, 4, 2, 166), "mP6", "mP6 (0.25-0.18 µm)", 83, 36'000'000);
}

TEST(CpuModelTable, CyrixFamilyFourModelZeroIsKnownOnlyAtItsNamedClocks) {
    EXPECT_ROW(Look(3, 4, 0, 20), "Cx486SLC/DLC", "M0.5", 16, 600'000);
    EXPECT_ROW(Look(3, 4, 0, 66), "Cx486SLC/DLC", "M0.5", 33, 600'000);
    EXPECT_ROW(Look(3, 4, 0, 33), "Cx486S", "M0.6", 20, 600'000);
    EXPECT_ROW(Look(3, 4, 0, 50), "Cx486S", "M0.6", 50, 600'000);
    EXPECT_ROW(Look(3, 4, 0, 80), "Cx486DX/DX2/DX4", "M0.7", 50, 1'100'000);
    EXPECT_ROW(Look(3, 4, 0, 40), "<none>", "", -1, -1);
    EXPECT_ROW(Look(3, 6, 0, 200), "6x86MX (PR166-266)", "M2 (0.35 µm)", 83, 65'000'000);
    EXPECT_ROW(Look(3, 6, 0, 225), "M-II (PR300-433)", "M2 (0.35-0.25 µm)", 66, 65'000'000);
}

TEST(CpuModelTable, UnlistedCombinationsHaveNoRowAndUmcKeepsTheBrandText) {
    EXPECT_ROW(Look(0, 6, 7, 450, 512), "<none>", "", -1, -1);
    EXPECT_ROW(Look(1, 6, 158, 3200, 256), "<none>", "", -1, -1);
    EXPECT_ROW(Look(2, 23, 113, 3800, 512), "<none>", "", -1, -1);
    EXPECT_ROW(Look(2, 5, 10), "<none>", "", -1, -1);
    EXPECT_ROW(Look(6, 4, 2, 40), "U5S", "U5D and U5S", 40, 12'000'000);
    EXPECT_ROW(Look(6, 4, 7, 40), "<brand>", "U5D and U5S", 40, 12'000'000);
    EXPECT_ROW(Look(1, 5, 5), "DX4", "", 0, 0);
}

} // namespace
} // namespace bs

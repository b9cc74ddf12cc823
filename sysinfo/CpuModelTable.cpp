// The rows keep the code names as they were collected: some write "0,25µm",
// others "0.25 µm".
#include "sysinfo/CpuModelTable.h"

#include <climits>

namespace bs {

namespace {

using Condition = bool (*)(const ModelQuery&);
using BusRule = int (*)(int mhz);

struct Row {
    int vendor;
    int family;
    int firstModel;
    int lastModel;
    Condition when; // null: always
    const char* modelName;
    const char* codeName;
    BusRule bus;
    int transistors;
};

constexpr int kAny = INT_MAX;

template <int Mhz> int Bus(int) {
    return Mhz;
}
// `Then` at exactly `AtMhz`, `Otherwise` at any other clock.
template <int AtMhz, int Then, int Otherwise> int BusAt(int mhz) {
    return mhz == AtMhz ? Then : Otherwise;
}
int BusIsClock(int mhz) {
    return mhz;
}
int BusHalf(int mhz) {
    return mhz / 2;
}
int BusThird(int mhz) {
    return mhz / 3;
}
int BusHalfBelow17(int mhz) {
    return mhz < 17 ? mhz / 2 : mhz;
}

bool L2None(const ModelQuery& q) {
    return q.level2 == 0;
}
bool L2UpTo512(const ModelQuery& q) {
    return q.level2 >= 1 && q.level2 <= 512;
}
bool L2AtMost512(const ModelQuery& q) {
    return q.level2 <= 512;
}
bool L2Over512(const ModelQuery& q) {
    return q.level2 > 512;
}
bool L2Under256(const ModelQuery& q) {
    return q.level2 < 256;
}
bool L2AtLeast256(const ModelQuery& q) {
    return q.level2 >= 256;
}
bool OverDrive(const ModelQuery& q) {
    return q.processorType == 1;
}
bool NotOverDrive(const ModelQuery& q) {
    return q.processorType != 1;
}
bool Brand1(const ModelQuery& q) {
    return q.brandIndex == 1;
}
bool Brand3(const ModelQuery& q) {
    return q.brandIndex == 3;
}
bool Brand4(const ModelQuery& q) {
    return q.brandIndex == 4;
}
bool OtherBrand(const ModelQuery& q) {
    return q.brandIndex != 1 && q.brandIndex != 3 && q.brandIndex != 4;
}
bool OtherBrandL2AtLeast1024(const ModelQuery& q) {
    return OtherBrand(q) && q.level2 >= 1024;
}
bool OtherBrandL2Under1024(const ModelQuery& q) {
    return OtherBrand(q) && q.level2 < 1024;
}
bool At20Or66(const ModelQuery& q) {
    return q.mhz == 20 || q.mhz == 66;
}
bool At33Or50(const ModelQuery& q) {
    return q.mhz == 33 || q.mhz == 50;
}
bool Above66(const ModelQuery& q) {
    return q.mhz > 66;
}
bool AtMost224(const ModelQuery& q) {
    return q.mhz <= 224;
}
bool AtLeast225(const ModelQuery& q) {
    return q.mhz >= 225;
}

// Searched in order; the first row that matches counts.
const Row kRows[] = {
    // Intel
    {1, 4, 0, 1, nullptr, "i80486DX", "P4", BusIsClock, 1'250'000},
    {1, 4, 2, 2, nullptr, "i80486SX", "P23", BusHalfBelow17, 900'000},
    {1, 4, 3, 3, nullptr, "i80486DX2", "P24", BusHalf, 1'250'000},
    {1, 4, 4, 4, nullptr, "i80486SL", "P23", BusIsClock, 900'000},
    {1, 4, 5, 5, nullptr, "i80486SX2", "P23", BusIsClock, 900'000},
    {1, 4, 7, 7, nullptr, "i80486DX2WB", "P24", BusHalf, 1'250'000},
    {1, 4, 8, 8, nullptr, "i80486DX4", "P24C", BusThird, 1'600'000},
    {1, 4, 9, 9, nullptr, "i80486DX4WB", "P24C", BusThird, 1'600'000},
    {1, 5, 0, 0, nullptr, "Pentium", "P5 (0,80µm)", BusAt<60, 50, 66>, 3'100'000},
    {1, 5, 1, 2, nullptr, "Pentium", "P54C (0,50µm)", BusAt<60, 50, 66>, 3'100'000},
    {1, 5, 3, 3, nullptr, "Pentium", "P24T", Bus<0>, 0},
    {1, 5, 4, 4, nullptr, "Pentium MMX", "P55C (0,28µm)", BusAt<166, 60, 66>, 4'500'000},
    {1, 5, 5, 5, nullptr, "DX4", nullptr, Bus<0>, 0},
    {1, 5, 6, 6, nullptr, "Pentium", "P5", Bus<0>, 0},
    {1, 5, 7, 7, nullptr, "Pentium", "P54C (0,35µm)", BusAt<60, 50, 66>, 3'100'000},
    {1, 5, 8, 8, nullptr, "Pentium MMX (mobile)", "Tillamook (0,25µm)", BusAt<150, 60, 66>,
     4'500'000},
    {1, 5, 9, 15, nullptr, "Pentium", nullptr, Bus<0>, 0},
    {1, 6, 0, 0, nullptr, "Pentium Pro", "P6 (0.50 µm)", BusAt<150, 60, 66>, 5'500'000},
    {1, 6, 1, 1, nullptr, "Pentium Pro", "P6 (0.35 µm)", BusAt<150, 60, 66>, 5'500'000},
    {1, 6, 3, 3, OverDrive, "Pentium II OverDrive", "Klamath (0.35 µm)", Bus<100>, 7'500'000},
    {1, 6, 3, 3, NotOverDrive, "Pentium II", "Klamath (0.35 µm)", Bus<100>, 7'500'000},
    {1, 6, 4, 4, nullptr, "Pentium II", "P55CT (P54 OverDrive)", Bus<66>, 3'100'000},
    {1, 6, 5, 5, L2None, "Celeron", "Covington (0,25µm)", Bus<66>, 7'500'000},
    {1, 6, 5, 5, L2UpTo512, "Pentium II", "Deschutes (0,25µm)", Bus<100>, 7'500'000},
    {1, 6, 5, 5, L2Over512, "Pentium II Xeon", "Deschutes (0.25 µm)", Bus<100>, 7'500'000},
    {1, 6, 6, 6, L2Under256, "Celeron A", "Mendocino (0.25 µm)", Bus<66>, 19'000'000},
    {1, 6, 6, 6, L2AtLeast256, "Pentium II PE (mobile)", "Dixon (0.25 µm)", Bus<66>, 27'400'000},
    {1, 6, 7, 7, L2AtMost512, "Pentium III", "Katmai (0.25 µm)", BusAt<450, 100, 133>, 9'500'000},
    {1, 6, 7, 7, L2Over512, "Pentium III Xeon", "Tanner (0.25 µm)", Bus<100>, 9'500'000},
    {1, 6, 8, 8, nullptr, "Pentium III E", "Coppermine (0.18 µm)", BusAt<400, 100, 133>,
     28'100'000},
    {1, 6, 2, 2, nullptr, "Pentium II", nullptr, Bus<0>, 0},
    {1, 6, 9, 15, nullptr, "Pentium II", nullptr, Bus<0>, 0},
    {1, 7, 0, kAny, Brand1, "Celeron", nullptr, Bus<0>, 0},
    {1, 7, 0, kAny, Brand3, "Pentium III Xeon", nullptr, Bus<0>, 0},
    {1, 7, 0, kAny, Brand4, "Pentium IV", nullptr, Bus<0>, 0},
    {1, 7, 0, kAny, OtherBrandL2AtLeast1024, "Pentium III Xeon", nullptr, Bus<0>, 0},
    {1, 7, 0, kAny, OtherBrandL2Under1024, "Pentium III", nullptr, Bus<0>, 0},
    {1, 8, 0, kAny, Brand1, "Celeron", nullptr, Bus<0>, 0},
    {1, 8, 0, kAny, Brand3, "Pentium III Xeon", nullptr, Bus<0>, 0},
    {1, 8, 0, kAny, Brand4, "Pentium IV", nullptr, Bus<0>, 0},
    {1, 8, 0, kAny, OtherBrandL2AtLeast1024, "Pentium III Xeon", nullptr, Bus<0>, 0},
    {1, 8, 0, kAny, OtherBrandL2Under1024, "Pentium III", nullptr, Bus<0>, 0},
    {1, 10, 0, kAny, nullptr, "Pentium III Xeon", nullptr, Bus<0>, 0},
    // AMD
    {2, 4, 0, 0, nullptr, "Am486DX", "P4", BusAt<25, 25, 40>, 1'250'000},
    {2, 4, 3, 3, nullptr, "Am486DX2", "P24", BusAt<25, 25, 40>, 1'250'000},
    {2, 4, 7, 7, nullptr, "Am486DX2", "P24", BusAt<25, 25, 40>, 1'250'000},
    {2, 4, 8, 9, nullptr, "Am486DX4", "P24C", BusAt<25, 25, 40>, 1'250'000},
    {2, 4, 14, 15, nullptr, "Am5x86", "X5", Bus<33>, 1'600'000},
    {2, 5, 0, 0, nullptr, "K5", "SSA5 (0.50-0.35 µm)", BusAt<90, 50, 66>, 4'300'000},
    {2, 5, 1, 3, nullptr, "K5-5k86 (PR120, PR133)", "5k86 (0.35 µm)", BusAt<90, 60, 66>, 4'300'000},
    {2, 5, 6, 6, nullptr, "K6", "K6 (0.30 µm)", Bus<66>, 8'800'000},
    {2, 5, 7, 7, nullptr, "K6", "Little Foot (0.25 µm)", Bus<66>, 8'800'000},
    {2, 5, 8, 8, nullptr, "K6-II", "Chomper (0.25 µm)", BusAt<266, 66, 100>, 9'300'000},
    {2, 5, 9, 9, nullptr, "K6-III", "Slarptooth (0.25 µm)", BusAt<350, 66, 100>, 21'300'000},
    {2, 5, 13, 13, nullptr, "K6-II+/K6-III+", nullptr, Bus<0>, 0},
    {2, 6, 0, kAny, nullptr, "K7", "Athlon (0.25-0.18 µm)", Bus<100>, 22'000'000},
    // Cyrix
    {3, 4, 0, 0, At20Or66, "Cx486SLC/DLC", "M0.5", BusAt<20, 16, 33>, 600'000},
    {3, 4, 0, 0, At33Or50, "Cx486S", "M0.6", BusAt<33, 20, 50>, 600'000},
    {3, 4, 0, 0, Above66, "Cx486DX/DX2/DX4", "M0.7", Bus<50>, 1'100'000},
    {3, 4, 4, 4, nullptr, "Media GX", "Gx86", BusAt<120, 60, 66>, 24'000'000},
    {3, 4, 9, 9, nullptr, "5x86", "M0.9 or M1sc (0.65 µm)", BusAt<100, 33, 50>, 20'000'000},
    {3, 5, 2, 2, nullptr, "6x86 and 6x86L", "M1 (0.65 µm) and M1L (0.35 µm)", BusHalf, 30'000'000},
    {3, 5, 4, 4, nullptr, "MediaGXm", "GXm", BusAt<120, 60, 66>, 24'000'000},
    {3, 6, 0, 0, AtMost224, "6x86MX (PR166-266)", "M2 (0.35 µm)", BusAt<133, 50, 83>, 65'000'000},
    {3, 6, 0, 0, AtLeast225, "M-II (PR300-433)", "M2 (0.35-0.25 µm)", BusAt<225, 66, 100>,
     65'000'000},
    {3, 6, 5, 5, nullptr, "VIA Cyrix III", nullptr, Bus<0>, 0},
    // IDT/Centaur
    {4, 5, 4, 4, nullptr, "WinChip", "C6 (0.35 µm)", BusThird, 54'000'000},
    {4, 5, 8, 8, nullptr, "WinChip 2x", "W2x (0.35-0.25 µm)", BusThird, 59'000'000},
    {4, 5, 9, 9, nullptr, "WinChip 3", "W3 (0.25 µm)", BusThird, 90'000'000},
    // NexGen
    {5, 5, 0, 0, nullptr, "Nx586", "Nx5x86 (0.50-0.44 µm)", BusHalf, 35'000'000},
    {5, 5, 6, 6, nullptr, "Nx686", "HA (0,50µm)", BusThird, 60'000'000},
    // UMC: any other family-4 model keeps the brand text as its name.
    {6, 4, 1, 1, nullptr, "U5D", "U5D and U5S", BusIsClock, 12'000'000},
    {6, 4, 2, 2, nullptr, "U5S", "U5D and U5S", BusIsClock, 12'000'000},
    {6, 4, 3, 3, nullptr, "U486DX2", "U5D and U5S", BusIsClock, 12'000'000},
    {6, 4, 4, 4, nullptr, "U486SX2", "U5D and U5S", BusIsClock, 12'000'000},
    {6, 4, 0, kAny, nullptr, nullptr, "U5D and U5S", BusIsClock, 12'000'000},
    // Rise
    {7, 4, 0, 0, nullptr, "mP6", "mP6 (0.25-0.18 µm)", BusAt<166, 83, 100>, 36'000'000},
    {7, 4, 2, 2, nullptr, "mP6", "mP6 (0.25-0.18 µm)", BusAt<166, 83, 100>, 36'000'000},
};

} // namespace

std::optional<CpuModel> LookUpCpuModel(const ModelQuery& query) {
    for (const Row& row : kRows) {
        if (row.vendor != query.vendor || row.family != query.family ||
            query.model < row.firstModel || query.model > row.lastModel)
            continue;
        if (row.when && !row.when(query))
            continue;
        return CpuModel{row.modelName, row.codeName, row.bus(query.mhz), row.transistors};
    }
    return std::nullopt;
}

} // namespace bs

// The built-in table of processor models: model name, code name, front-side
// bus speed and transistor count of the processors sold up to about 2000.
#pragma once

#include <optional>

namespace bs {

struct ModelQuery {
    int vendor = 0; // row of the vendor table, 0 when unknown
    int family = 0;
    int model = 0;
    int mhz = 0;    // measured clock after snapping
    int level2 = 0; // level-2 cache, KB
    int processorType = 0;
    int brandIndex = 0;
};

struct CpuModel {
    const char* modelName = nullptr; // null: the brand text stands
    const char* codeName = nullptr;  // null: no code name
    int busSpeed = 0;
    int transistors = 0;
};

// nullopt when no row matches.
std::optional<CpuModel> LookUpCpuModel(const ModelQuery& query);

} // namespace bs

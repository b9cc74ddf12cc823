// The code page a batch run at the start of Windows is read in: the OEM code
// page of the console.
#pragma once

#include <string>

#include "clean/BatchCodePage.h"

namespace bs {

class OemBatchCodePage : public BatchCodePage {
public:
    std::optional<std::string> Spell(const std::string& path) override;
    std::string Encode(const std::string& text) override;
};

// 8-bit OEM text as UTF-16, the way deletebat.exe reads the batch.
std::wstring OemToWide(const std::string& text);

} // namespace bs

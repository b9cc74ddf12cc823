// The fixed lines of clean.bat, written out byte by byte, as the batch tests
// expect them for a given program folder (ending in "\").
#pragma once

#include <string>

namespace bs {

inline const std::string ExpectedBatchFolder = "c:\\brim\\";

inline std::string ExpectedBatchHead(const std::string& folder = ExpectedBatchFolder) {
    return "cls\r\n"
           "@echo ---------------------------------------\r\n"
           "@echo Tarn Brimsweep Forced Deletion Batch File\r\n"
           "@echo ---------------------------------------\r\n"
           "@echo * Files to be deleted are deleted with this batch.\r\n"
           "@echo * If deleted, index.dat is recreated by the system with small size.\r\n"
           "@echo * The last message \"Batch file missing, File not found\" is not an error "
           "message. It is generated when the batch deletes itself.\r\n"
           "@echo ---------------------------------------\r\n"
           "@echo * Files to be deleted:\r\n"
           "@\"" +
           folder + "deletebat.exe\"\r\n";
}

inline std::string ExpectedBatchTail(const std::string& folder = ExpectedBatchFolder) {
    return "@del \"" + folder + "clean.bat\" >nul\r\n@CLS >nul\r\n";
}

} // namespace bs

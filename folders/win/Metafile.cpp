#include "folders/win/Metafile.h"

namespace bs {

ScopedEnhMetaFile RecordMetafile(HDC reference, int width, int height,
                                 const std::function<void(HDC)>& draw) {
    // The frame is in hundredths of a millimetre of the reference device,
    // so that playing it back onto the same size draws pixel for pixel.
    RECT frame = {
        0, 0,
        MulDiv(width, GetDeviceCaps(reference, HORZSIZE) * 100, GetDeviceCaps(reference, HORZRES)),
        MulDiv(height, GetDeviceCaps(reference, VERTSIZE) * 100,
               GetDeviceCaps(reference, VERTRES))};
    HDC recorder = CreateEnhMetaFileW(reference, nullptr, &frame, nullptr);
    if (!recorder)
        return ScopedEnhMetaFile();
    draw(recorder);
    return ScopedEnhMetaFile(CloseEnhMetaFile(recorder));
}

} // namespace bs

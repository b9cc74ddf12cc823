// Recording a picture into an enhanced metafile of a control's size, so a
// control draws all its parts off-screen and shows them in one step.
#pragma once

#include <windows.h>

#include <functional>

#include "platform/win32/Scoped.h"

namespace bs {

struct EnhMetaFileTraits {
    using Handle = HENHMETAFILE;
    static Handle Invalid() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr; }
    static void Close(Handle h) { DeleteEnhMetaFile(h); }
};
using ScopedEnhMetaFile = ScopedHandle<EnhMetaFileTraits>;

// `draw` paints into the recorder, whose units are the pixels of `reference`.
ScopedEnhMetaFile RecordMetafile(HDC reference, int width, int height,
                                 const std::function<void(HDC)>& draw);

} // namespace bs

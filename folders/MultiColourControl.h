// A control's palette of up to eight colours, read and written as one line
// of text ("$00E0E0FF,$00E0FFFF,..."), for controls that colour their parts
// in turn.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

namespace bs {

// 0x00BBGGRR: red in the low byte, as the drawing calls take it.
using Colour = uint32_t;

constexpr Colour Rgb(unsigned red, unsigned green, unsigned blue) {
    return red | (green << 8) | (blue << 16);
}

class TMultiColourControl {
public:
    static constexpr int MaxColours = 8;

    TMultiColourControl();
    virtual ~TMultiColourControl() = default;

    int NumColours() const { return numColours_; }
    // Takes 1 to 8 only; any other count is ignored.
    void SetNumColours(int count);

    const std::array<Colour, MaxColours>& Palette() const { return palette_; }

    // "$" and eight upper-case hexadecimal digits per colour in use, joined
    // by commas.
    std::string Colours() const;
    // Items are separated by commas or blanks and may be grouped in double
    // quotes; each is decimal or "$" hexadecimal. An item that is not a
    // number leaves NumColours at 0 (the slots read before it keep their new
    // values) and nothing is repainted or raised.
    void SetColours(const std::string& text);

    std::function<void()> OnColourChange;
    // Asks the window, if any, to paint the control again.
    std::function<void()> RequestRepaint;

protected:
    void Repaint() const {
        if (RequestRepaint)
            RequestRepaint();
    }

private:
    int numColours_ = 6;
    std::array<Colour, MaxColours> palette_;
};

} // namespace bs

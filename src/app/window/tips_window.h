// Hover tips: a short hint shown beside a control of the main window while the mouse rests on it.
//
// CTipsWnd decides which hint shows, how big its box is and where it goes; the surface it is
// given (the main window) finds controls, draws the box and erases it. The geometry therefore
// needs no display. Units are pixels in the surface's client coordinates; rectangles include
// their left and top edge and exclude their right and bottom edge.
#pragma once

#include <QColor>
#include <QPoint>
#include <QRect>
#include <memory>
#include <string>
#include <vector>

namespace sylva {

struct TipRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    static TipRect FromQRect(const QRect& rect);
    QRect ToQRect() const;
    friend bool operator==(const TipRect&, const TipRect&) = default;
};

// One registered hint.
struct CTipItem {
    int controlId = 0;
    int lineCount = 0;
    std::vector<std::string> lines;
    QColor textColour;
    QColor backColour;
};

// What the tips need of the window they are shown on.
class TipSurface {
  public:
    virtual ~TipSurface() = default;
    // The number of the visible control at `point` (disabled ones count); 0 for the surface
    // itself; -1 when the point is outside the surface.
    virtual int ControlAt(QPoint point) const = 0;
    // The control's rectangle; an empty one for an unknown number.
    virtual TipRect ControlRect(int controlId) const = 0;
    // The surface's outer window rectangle (frame included) in its own client coordinates.
    virtual TipRect OuterRect() const = 0;
    virtual void DrawTip(const TipRect& box, const CTipItem& item, int fontHeight) = 0;
    // Repaints the surface over `box`, so that the hint disappears.
    virtual void EraseTip(const TipRect& box) = 0;
};

class CTipsWnd {
  public:
    static constexpr int kTipFontHeight = 14;
    static constexpr int kShrunkFontHeight = 12;

    // REQUIRES: called before TrackMouse; `parent` outlives this object.
    void SetParentDialog(TipSurface* parent) { parent_ = parent; }
    // Registers a one-line hint for `controlId`; returns 1.
    int AddTip(int controlId, const std::string& text, QColor backColour, QColor textColour);
    // Shows the hint of the control under `point` when the mouse has moved onto another control,
    // erasing the previous one. Movement within one control changes nothing on screen.
    void TrackMouse(QPoint point);
    // The mouse left the surface: erases the hint, which no further movement over the surface
    // would take away. Coming back onto the same control shows the hint again.
    void MouseLeft();

    // The first hint registered for `controlId`, or none; `currentId` follows the result.
    const CTipItem* FindTip(int controlId);
    void ShowTip(int controlId);
    void HideTip(int controlId);
    // Sizes the box for `lines` in the current font height.
    void MeasureTip(const std::vector<std::string>& lines);
    // Places the measured box beside the control, inside the parent's outer rectangle, shrinking
    // it when it is taller than the parent.
    TipRect PlaceTip(int controlId);

    // The box last measured or drawn; both 0 while no hint is on screen.
    int boxHeight = 0;
    int boxWidth = 0;
    // The hint font's character height; a box too tall for the window is drawn smaller.
    int fontHeight = kTipFontHeight;
    int shownLineCount = 0;
    int maxLineLength = 0;
    // The control whose hint is on screen, 0 for none.
    int currentId = 0;

  private:
    TipSurface* parent_ = nullptr;
    std::vector<std::unique_ptr<CTipItem>> tipItems_;
};

}  // namespace sylva

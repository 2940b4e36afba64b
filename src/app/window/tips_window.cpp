#include "app/window/tips_window.h"

#include <algorithm>

namespace sylva {

TipRect TipRect::FromQRect(const QRect& rect) {
    return {rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height()};
}

QRect TipRect::ToQRect() const {
    return QRect(left, top, right - left, bottom - top);
}

int CTipsWnd::AddTip(int controlId, const std::string& text, QColor backColour, QColor textColour) {
    auto item = std::make_unique<CTipItem>();
    item->controlId = controlId;
    item->lines.push_back(text);
    item->lineCount = 1;
    item->textColour = textColour;
    item->backColour = backColour;
    tipItems_.push_back(std::move(item));
    return 1;
}

void CTipsWnd::TrackMouse(QPoint point) {
    int controlId = parent_->ControlAt(point);
    if (controlId < 0 || controlId == currentId) {
        return;
    }
    HideTip(currentId);
    ShowTip(controlId);
}

void CTipsWnd::MouseLeft() {
    HideTip(currentId);
    currentId = 0;
}

const CTipItem* CTipsWnd::FindTip(int controlId) {
    auto found = std::find_if(tipItems_.begin(), tipItems_.end(), [controlId](const auto& item) {
        return item->controlId == controlId;
    });
    if (found == tipItems_.end()) {
        currentId = 0;
        return nullptr;
    }
    currentId = controlId;
    return found->get();
}

void CTipsWnd::ShowTip(int controlId) {
    const CTipItem* item = FindTip(controlId);
    if (item == nullptr || item->lineCount == 0) {
        return;
    }
    MeasureTip(item->lines);
    TipRect box = PlaceTip(item->controlId);
    parent_->DrawTip(box, *item, fontHeight);
}

void CTipsWnd::HideTip(int controlId) {
    if (boxHeight == 0 || boxWidth == 0) {
        return;
    }
    parent_->EraseTip(PlaceTip(controlId));
    boxHeight = 0;
    boxWidth = 0;
}

void CTipsWnd::MeasureTip(const std::vector<std::string>& lines) {
    shownLineCount = static_cast<int>(lines.size());
    maxLineLength = 0;
    for (const std::string& line : lines) {
        maxLineLength = std::max(maxLineLength, static_cast<int>(line.size()));
    }
    boxHeight = shownLineCount * (fontHeight - 1) + 12;
    // 7.5 pixels a character, the half pixel cut off.
    boxWidth = 10 + maxLineLength * 15 / 2;
}

TipRect CTipsWnd::PlaceTip(int controlId) {
    TipRect outer = parent_->OuterRect();
    TipRect control = parent_->ControlRect(controlId);
    fontHeight = kTipFontHeight;

    TipRect box;
    int half = (control.bottom - control.top) / 2;
    if (control.bottom - half + boxHeight <= outer.bottom) {
        box.top = control.bottom - half;
        box.bottom = box.top + boxHeight;
    } else {
        if (boxHeight > outer.bottom - outer.top) {
            fontHeight = kShrunkFontHeight;
            boxHeight = shownLineCount * (kShrunkFontHeight - 1) + 12;
            boxWidth = maxLineLength * 7 + 10;
        }
        box.bottom = outer.bottom - 1;
        box.top = box.bottom - boxHeight;
    }

    int centre = (control.left + control.right) / 2;
    if (centre + boxWidth <= outer.right) {
        box.left = centre;
        box.right = centre + boxWidth;
    } else if (centre - boxWidth > outer.left) {
        box.right = centre;
        box.left = centre - boxWidth;
    } else {
        box.left = outer.left + 1;
        box.right = box.left + boxWidth;
    }
    return box;
}

}  // namespace sylva

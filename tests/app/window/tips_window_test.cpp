// Hover tips without a display: which hint shows, its size and its place, against a fake
// surface that records what would be drawn and erased.
#include <QTest>
#include <map>

#include "app/window/tips_window.h"

Q_DECLARE_METATYPE(sylva::TipRect)

namespace sylva {

// Shown by QCOMPARE when two rectangles differ.
char* toString(const TipRect& rect) {
    return QTest::toString(QStringLiteral("{%1, %2, %3, %4}")
                               .arg(rect.left)
                               .arg(rect.top)
                               .arg(rect.right)
                               .arg(rect.bottom));
}

namespace {

// A window of 400 x 300 pixels by default, with the hints registered on it.
class FakeSurface : public TipSurface {
  public:
    FakeSurface() { tips.SetParentDialog(this); }

    int ControlAt(QPoint point) const override {
        TipRect outer = OuterRect();
        if (point.x() < outer.left || point.x() >= outer.right || point.y() < outer.top ||
            point.y() >= outer.bottom) {
            return -1;
        }
        for (const auto& [id, rect] : controls) {
            if (point.x() >= rect.left && point.x() < rect.right && point.y() >= rect.top &&
                point.y() < rect.bottom) {
                return id;
            }
        }
        return 0;
    }
    TipRect ControlRect(int controlId) const override {
        auto found = controls.find(controlId);
        return found == controls.end() ? TipRect{} : found->second;
    }
    TipRect OuterRect() const override { return outer; }
    void DrawTip(const TipRect& box, const CTipItem& item, int fontHeight) override {
        drawn.push_back({box, item.lines.empty() ? std::string() : item.lines.front(), fontHeight});
    }
    void EraseTip(const TipRect& box) override { erased.push_back(box); }

    struct Drawing {
        TipRect box;
        std::string text;
        int fontHeight;
    };
    CTipsWnd tips;
    TipRect outer{0, 0, 400, 300};
    std::map<int, TipRect> controls;
    std::vector<Drawing> drawn;
    std::vector<TipRect> erased;
};

const QColor kBack(255, 255, 220);
const QColor kText(0, 0, 0);

QPoint Inside(const TipRect& rect) {
    return QPoint(rect.left + 1, rect.top + 1);
}

}  // namespace

class TipsWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void measuresSevenAndAHalfPixelsPerCharacter_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::newRow("empty") << "" << 10 << 25;
        QTest::newRow("three characters") << "abc" << 32 << 25;
        QTest::newRow("four characters") << "abcd" << 40 << 25;
        QTest::newRow("create hint") << "Scan the path or insert the foreign index..." << 340 << 25;
    }
    void measuresSevenAndAHalfPixelsPerCharacter() {
        QFETCH(QString, text);
        QFETCH(int, width);
        QFETCH(int, height);
        CTipsWnd tips;
        tips.MeasureTip({text.toStdString()});
        QCOMPARE(tips.boxWidth, width);
        QCOMPARE(tips.boxHeight, height);
        QCOMPARE(tips.shownLineCount, 1);
        QCOMPARE(tips.maxLineLength, static_cast<int>(text.size()));
    }

    void measuresSeveralLinesByTheLongest() {
        CTipsWnd tips;
        tips.MeasureTip({"ab", "abcdef", "a"});
        QCOMPARE(tips.shownLineCount, 3);
        QCOMPARE(tips.maxLineLength, 6);
        QCOMPARE(tips.boxHeight, 3 * 13 + 12);
        QCOMPARE(tips.boxWidth, 10 + 45);
    }

    // Each row: the control's rectangle in a 400 x 300 window and where a 3-character hint
    // (32 x 25) must go.
    void placesTheBoxBesideTheControl_data() {
        QTest::addColumn<TipRect>("control");
        QTest::addColumn<TipRect>("box");
        QTest::newRow("from the middle, to the right")
            << TipRect{100, 50, 140, 70} << TipRect{120, 60, 152, 85};
        QTest::newRow("odd height rounds toward zero")
            << TipRect{100, 50, 140, 71} << TipRect{120, 61, 152, 86};
        QTest::newRow("fits exactly at the right edge")
            << TipRect{350, 50, 386, 70} << TipRect{368, 60, 400, 85};
        QTest::newRow("right edge: extends to the left")
            << TipRect{360, 50, 390, 70} << TipRect{343, 60, 375, 85};
        QTest::newRow("bottom edge: laid against it")
            << TipRect{100, 270, 140, 290} << TipRect{120, 274, 152, 299};
        QTest::newRow("fits exactly at the bottom")
            << TipRect{100, 265, 140, 285} << TipRect{120, 275, 152, 300};
    }
    void placesTheBoxBesideTheControl() {
        QFETCH(TipRect, control);
        QFETCH(TipRect, box);
        FakeSurface surface;
        surface.controls[7] = control;
        CTipsWnd& tips = surface.tips;
        tips.MeasureTip({"abc"});
        QCOMPARE(tips.PlaceTip(7), box);
        QCOMPARE(tips.fontHeight, CTipsWnd::kTipFontHeight);
    }

    void narrowWindowPutsTheBoxAtItsLeftEdge() {
        FakeSurface surface;
        surface.outer = {0, 0, 40, 300};
        surface.controls[7] = {10, 50, 30, 70};
        CTipsWnd& tips = surface.tips;
        tips.MeasureTip({"abcdef"});  // 55 wide: fits neither side of the centre at 20
        QCOMPARE(tips.PlaceTip(7), (TipRect{1, 60, 56, 85}));
    }

    void boxTallerThanTheWindowShrinks() {
        FakeSurface surface;
        surface.outer = {0, 0, 400, 20};
        surface.controls[7] = {100, 2, 140, 12};
        CTipsWnd& tips = surface.tips;
        tips.MeasureTip({"abcd"});  // 25 high, the window 20
        TipRect box = tips.PlaceTip(7);
        QCOMPARE(tips.fontHeight, CTipsWnd::kShrunkFontHeight);
        QCOMPARE(tips.boxHeight, 11 + 12);
        QCOMPARE(tips.boxWidth, 4 * 7 + 10);
        QCOMPARE(box, (TipRect{120, -4, 158, 19}));
        // The smaller font stays until the next placement, so the next hint is measured with it.
        tips.MeasureTip({"abcd"});
        QCOMPARE(tips.boxHeight, 11 + 12);
        tips.PlaceTip(7);
        QCOMPARE(tips.fontHeight, CTipsWnd::kShrunkFontHeight);
    }

    void boxThatFitsTheWindowHeightIsNotShrunk() {
        FakeSurface surface;
        surface.outer = {0, 0, 400, 30};
        surface.controls[7] = {100, 10, 140, 28};
        CTipsWnd& tips = surface.tips;
        tips.MeasureTip({"abcd"});
        QCOMPARE(tips.PlaceTip(7), (TipRect{120, 4, 160, 29}));
        QCOMPARE(tips.fontHeight, CTipsWnd::kTipFontHeight);
        QCOMPARE(tips.boxHeight, 25);
    }

    void findTipTakesTheFirstRegistrationAndFollowsCurrentId() {
        CTipsWnd tips;
        tips.AddTip(5, "first", kBack, kText);
        tips.AddTip(5, "second", kBack, kText);
        const CTipItem* item = tips.FindTip(5);
        QVERIFY(item != nullptr);
        QCOMPARE(item->lines, std::vector<std::string>{"first"});
        QCOMPARE(item->lineCount, 1);
        QCOMPARE(item->backColour, kBack);
        QCOMPARE(item->textColour, kText);
        QCOMPARE(tips.currentId, 5);
        QVERIFY(tips.FindTip(6) == nullptr);
        QCOMPARE(tips.currentId, 0);
    }

    void movingWithinOneControlDrawsOnce() {
        FakeSurface surface;
        surface.controls[7] = {100, 50, 140, 70};
        CTipsWnd& tips = surface.tips;
        tips.AddTip(7, "hint", kBack, kText);
        tips.TrackMouse({101, 51});
        tips.TrackMouse({120, 60});
        tips.TrackMouse({139, 69});
        QCOMPARE(surface.drawn.size(), 1u);
        QCOMPARE(surface.drawn[0].text, std::string("hint"));
        QCOMPARE(surface.drawn[0].fontHeight, CTipsWnd::kTipFontHeight);
        QCOMPARE(surface.drawn[0].box, (TipRect{120, 60, 160, 85}));
        QVERIFY(surface.erased.empty());
        QCOMPARE(tips.currentId, 7);
    }

    void movingToAControlWithoutHintErasesAndShowsNothing() {
        FakeSurface surface;
        surface.controls[7] = {100, 50, 140, 70};
        surface.controls[8] = {200, 50, 240, 70};
        CTipsWnd& tips = surface.tips;
        tips.AddTip(7, "hint", kBack, kText);
        tips.TrackMouse(Inside(surface.controls[7]));
        tips.TrackMouse(Inside(surface.controls[8]));
        QCOMPARE(surface.drawn.size(), 1u);
        QCOMPARE(surface.erased.size(), 1u);
        QCOMPARE(surface.erased[0], surface.drawn[0].box);
        QCOMPARE(tips.currentId, 0);
        QCOMPARE(tips.boxWidth, 0);
        QCOMPARE(tips.boxHeight, 0);
        // The dialog background has number 0 as well: nothing more happens.
        tips.TrackMouse({5, 5});
        QCOMPARE(surface.erased.size(), 1u);
        QCOMPARE(surface.drawn.size(), 1u);
    }

    void movingBetweenTwoHintsReplacesTheBox() {
        FakeSurface surface;
        surface.controls[7] = {100, 50, 140, 70};
        surface.controls[8] = {200, 50, 240, 70};
        CTipsWnd& tips = surface.tips;
        tips.AddTip(7, "seven", kBack, kText);
        tips.AddTip(8, "eight", kBack, kText);
        tips.TrackMouse(Inside(surface.controls[7]));
        tips.TrackMouse(Inside(surface.controls[8]));
        tips.TrackMouse({10, 10});
        QCOMPARE(surface.drawn.size(), 2u);
        QCOMPARE(surface.drawn[1].text, std::string("eight"));
        QCOMPARE(surface.erased.size(), 2u);
        QCOMPARE(surface.erased[1], surface.drawn[1].box);
        QCOMPARE(tips.currentId, 0);
    }

    // A movement reported outside the window changes nothing; the mouse leaving the window
    // erases the hint, and coming back onto the same control shows it again.
    void pointOutsideChangesNothingButLeavingErases() {
        FakeSurface surface;
        surface.controls[7] = {100, 50, 140, 70};
        CTipsWnd& tips = surface.tips;
        tips.AddTip(7, "hint", kBack, kText);
        tips.TrackMouse(Inside(surface.controls[7]));
        tips.TrackMouse({-5, 500});
        QVERIFY(surface.erased.empty());
        QCOMPARE(tips.currentId, 7);
        tips.MouseLeft();
        QCOMPARE(surface.erased.size(), 1u);
        QCOMPARE(tips.currentId, 0);
        tips.MouseLeft();  // nothing on screen: no second erase
        QCOMPARE(surface.erased.size(), 1u);
        tips.TrackMouse(Inside(surface.controls[7]));
        QCOMPARE(surface.drawn.size(), 2u);
    }

    void hideErasesOnlyWhatIsOnScreen() {
        FakeSurface surface;
        surface.controls[7] = {100, 50, 140, 70};
        CTipsWnd& tips = surface.tips;
        tips.AddTip(7, "hint", kBack, kText);
        tips.ShowTip(7);
        tips.HideTip(7);
        tips.HideTip(7);  // nothing on screen: no second erase
        QCOMPARE(surface.erased.size(), 1u);
    }
};

}  // namespace sylva

QTEST_APPLESS_MAIN(sylva::TipsWindowTest)
#include "tips_window_test.moc"

// The two narrow sinks the engine reports to while it works: the protocol list, which receives
// one line per event ("ERROR: " and "WARNING: " lines among them), and the progress dialog.
//
// Both are optional for the engine (a null pointer means "nobody listens"). The window shows
// them as a list widget and a modeless dialog, batch mode as lines on the terminal, and the tests
// keep them in memory.
#pragma once

#include <deque>
#include <string>
#include <string_view>

namespace sylva {

class CZTListBox {
  public:
    virtual ~CZTListBox() = default;

    // Appends `line` and selects it so that it is in view; the list keeps at most `maxLines`
    // lines, dropping the oldest. Every caller passes select = 1 and maxLines = 1000.
    virtual void AddSelString(std::string_view line, int select = 1, int maxLines = 1000) = 0;

    // Removes every line (the window's actions empty the list before they start).
    virtual void ResetContent() = 0;
};

class CZTProgressDlg {
  public:
    virtual ~CZTProgressDlg() = default;

    virtual void SetTitle(std::string_view title) = 0;
    virtual void SetRange(int lower, int upper) = 0;
    virtual void ShowPercent(bool show) = 0;
    virtual void SetStep(int step) = 0;
    // Replaces the status line; each stage of a run sets it.
    virtual void SetStatus(std::string_view text) = 0;
    // Moves the bar; the engine's running position grows by one per event and may pass the range.
    virtual void SetPos(int pos) = 0;
};

// A protocol list held in memory, with the list box's limit on its length.
class MemoryListBox : public CZTListBox {
  public:
    void AddSelString(std::string_view line, int select = 1, int maxLines = 1000) override;
    void ResetContent() override { lines_.clear(); }

    const std::deque<std::string>& Lines() const { return lines_; }

  private:
    std::deque<std::string> lines_;
};

}  // namespace sylva

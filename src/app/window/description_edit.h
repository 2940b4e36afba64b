// The multi-line edit of the project description. The description becomes one record line of the
// master index, so the edit wraps long text but never holds a line break: Enter goes to the
// window (which asks whether to generate), and pasted line breaks become spaces.
#pragma once

#include <QPlainTextEdit>

namespace sylva {

class DescriptionEdit : public QPlainTextEdit {
  public:
    // Holds at most `maxLength` characters; longer input is cut.
    DescriptionEdit(int maxLength, QWidget* parent);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;

  private:
    void CutToLimit();

    int maxLength_;
};

}  // namespace sylva

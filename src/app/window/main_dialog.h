// CMainDlg: the main window. A thin adapter between the widgets and the toolkit-free actions:
// it copies the widgets' values into the fields and back, hands each click or key to its action,
// and owns the protocol list and the hover tips that the actions and the mouse feed.
#pragma once

#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <memory>
#include <vector>

#include "app/main_actions.h"
#include "app/window/description_edit.h"
#include "app/window/dialog_units.h"
#include "app/window/protocol_list.h"
#include "app/window/tip_box.h"
#include "app/window/tips_window.h"

namespace sylva {

class CMainDlg : public QDialog, public FieldsView, private TipSurface {
    Q_OBJECT

  public:
    // The numbers of the controls, by which the hover tips know them.
    enum ControlId {
        kIdProjectName = 1000,
        kIdViewProjects,
        kIdProjectDesc,
        kIdMatchDescription,
        kIdScanMode,
        kIdScanPath,
        kIdChooseScanPath,
        kIdForeignHtml,
        kIdChooseForeignHtml,
        kIdTypePublic,
        kIdTypePrivate,
        kIdOutputPath,
        kIdChooseOutputPath,
        kIdShowMasterIndex,
        kIdMasterIndexName,
        kIdChooseMasterIndex,
        kIdFilter,
        kIdCreate,
        kIdRemove,
        kIdOptions,
        kIdHelp,
        kIdClose,
        kIdProtocolToggle,
        kIdProtocolList,
    };

    // Shows `fields` (which, like `prompter`, must outlive the window); opens with the protocol
    // list folded away.
    CMainDlg(MainFields& fields, Prompter& prompter, QWidget* parent = nullptr);

    void ReadControls(MainFields& fields) override;
    // A value longer than its control holds is refused with a warning, never cut: the control
    // keeps its text, and the next action reads that back into the field.
    void WriteControls(const MainFields& fields) override;

    // The control numbered `controlId`, or none.
    QWidget* Control(int controlId) const;
    bool ProtocolShown() const { return protocolShown_; }
    ProtocolList& ProtocolLines() { return protocol_; }

  protected:
    // Enter outside a push button asks whether to generate.
    void keyPressEvent(QKeyEvent* event) override;
    // Escape and the window's close button: ends the window only when the user confirms.
    void reject() override;
    // Hands every mouse movement over the window or a control to the hover tips, and tells them
    // when the mouse leaves the window.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    int ControlAt(QPoint point) const override;
    TipRect ControlRect(int controlId) const override;
    TipRect OuterRect() const override;
    void DrawTip(const TipRect& box, const CTipItem& item, int fontHeight) override;
    void EraseTip(const TipRect& box) override;

    void BuildControls();
    // Widens the layout, in proportion, until every text of the window shows whole.
    void FitTexts();
    void RegisterTips();
    void ConnectActions();
    // Places `widget` at the rectangle given in dialog units and, with a number, registers it.
    template <typename Widget>
    Widget* Place(Widget* widget, int x, int y, int width, int height, int controlId = 0);
    QLabel* AddLabel(const char* text, int x, int y, int width);
    QPushButton* AddButton(const char* text, int x, int y, int width, int height, int controlId);
    QLineEdit* AddEdit(int x, int y, int width, int limit, int controlId);

    // Whether `text` fits a control of `limit` characters; when not, warns that the field named
    // `name` keeps what it held.
    bool FitsField(const QString& text, int limit, std::string_view name);
    void SwitchMode();
    void ShowMode();
    void ToggleProtocol();
    void ShowProtocolLine();
    void OpenOptions();
    void OpenProjects();
    void OpenAbout();

    MainFields& fields_;
    Prompter& prompter_;
    DialogUnits units_;
    std::vector<std::pair<int, QWidget*>> controls_;  // in creation order, topmost first

    QLineEdit* projectName_ = nullptr;
    DescriptionEdit* projectDesc_ = nullptr;
    QCheckBox* scanMode_ = nullptr;
    QLineEdit* scanPath_ = nullptr;
    QPushButton* chooseScanPath_ = nullptr;
    QLineEdit* foreignHtml_ = nullptr;
    QPushButton* chooseForeignHtml_ = nullptr;
    QLabel* typeLabel_ = nullptr;
    QCheckBox* typePublic_ = nullptr;
    QCheckBox* typePrivate_ = nullptr;
    QLineEdit* outputPath_ = nullptr;
    QLineEdit* masterIndexName_ = nullptr;
    QLineEdit* filter_ = nullptr;
    QPushButton* protocolToggle_ = nullptr;
    QListView* protocolList_;
    TipBox* tipBox_ = nullptr;

    ProtocolList protocol_;
    CTipsWnd tips_;
    MainActions actions_;
    bool protocolShown_ = true;
};

}  // namespace sylva

#include "app/window/main_dialog.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QValidator>
#include <algorithm>
#include <tuple>

#include "app/window/about_dialog.h"
#include "app/window/options_dialog.h"
#include "app/window/projects_dialog.h"
#include "app/window/qt_text.h"
#include "app/window/text_fit.h"
#include "support/text_format.h"

namespace sylva {

namespace {

constexpr const char* kCaption = "Brackwater - Source Code Documentation";
constexpr const char* kScanModeText = "Scan path:";
constexpr const char* kForeignModeText = "Foreign html:";
constexpr const char* kProtocolShownText = "Protocoll <<";
constexpr const char* kProtocolHiddenText = "Protocoll >>";
constexpr std::string_view kCloseQuestion = "Do you really want to close Sylva?";
constexpr std::string_view kValueTooLong =
    "The %s is %s characters long, more than the %s its field holds; the field keeps what it "
    "held.";

// The window's size in dialog units, with the protocol list shown.
constexpr int kWindowWidth = 366;
constexpr int kWindowHeight = 346;
constexpr int kLabelHeight = 12;

const QColor kTipBackground(255, 255, 220);
const QColor kTipText(0, 0, 0);

// Turns what is typed into upper case as it is typed (ASCII letters only: text is bytes, and
// file extensions are compared byte for byte once upper-cased).
class UpperCaseValidator : public QValidator {
  public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        for (QChar& c : input) {
            if (c >= u'a' && c <= u'z') {
                c = QChar(c.unicode() - u'a' + u'A');
            }
        }
        return Acceptable;
    }
};

bool IsEnterKey(const QKeyEvent* event) {
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

}  // namespace

CMainDlg::CMainDlg(MainFields& fields, Prompter& prompter, QWidget* parent)
    : QDialog(parent),
      fields_(fields),
      prompter_(prompter),
      units_(DialogUnits::ForFont(DialogFont())),
      protocolList_(new QListView(this)),
      protocol_(*protocolList_),
      actions_(fields, prompter, &protocol_, this) {
    setFont(DialogFont());
    setWindowTitle(QString::fromLatin1(kCaption));
    setWindowIcon(SylvaIcon());
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFixedSize(units_.X(kWindowWidth), units_.Y(kWindowHeight));
    BuildControls();
    FitTexts();
    ConnectActions();
    tips_.SetParentDialog(this);
    RegisterTips();
    WriteControls(fields_);
    ShowMode();
    ToggleProtocol();
    for (QWidget* widget : findChildren<QWidget*>()) {
        widget->setMouseTracking(true);
        widget->installEventFilter(this);
    }
    // The window's own movements as well: over its bare surface they take the hint away.
    setMouseTracking(true);
    installEventFilter(this);
    projectName_->setFocus();
}

template <typename Widget>
Widget* CMainDlg::Place(Widget* widget, int x, int y, int width, int height, int controlId) {
    units_.Place(widget, x, y, width, height);
    if (controlId != 0) {
        controls_.emplace_back(controlId, widget);
    }
    return widget;
}

QLabel* CMainDlg::AddLabel(const char* text, int x, int y, int width) {
    return Place(new QLabel(QString::fromLatin1(text), this), x, y, width, kLabelHeight);
}

QPushButton* CMainDlg::AddButton(const char* text, int x, int y, int width, int height,
                                 int controlId) {
    return Place(new QPushButton(QString::fromLatin1(text), this), x, y, width, height, controlId);
}

QLineEdit* CMainDlg::AddEdit(int x, int y, int width, int limit, int controlId) {
    auto* edit = Place(new QLineEdit(this), x, y, width, 12, controlId);
    edit->setMaxLength(limit);
    return edit;
}

void CMainDlg::BuildControls() {
    // Created back to front: the frames first, so that the controls lie above them.
    Place(new QGroupBox(QStringLiteral("Settings"), this), 6, 6, 273, 174);
    Place(new QGroupBox(QStringLiteral("Control"), this), 288, 6, 72, 174);

    AddLabel("Project name:", 12, 24, 52);
    projectName_ = AddEdit(66, 24, 189, kProjectNameLimit, kIdProjectName);
    AddButton("->", 255, 24, 15, 12, kIdViewProjects);
    AddLabel("Project Desc.:", 12, 42, 52);
    projectDesc_ =
        Place(new DescriptionEdit(kProjectDescLimit, this), 66, 42, 189, 21, kIdProjectDesc);
    AddButton("<", 255, 42, 15, 21, kIdMatchDescription);

    scanMode_ =
        Place(new QCheckBox(QString::fromLatin1(kScanModeText), this), 12, 72, 51, 10, kIdScanMode);
    scanPath_ = AddEdit(66, 72, 189, kScanPathLimit, kIdScanPath);
    chooseScanPath_ = AddButton("<", 255, 72, 15, 12, kIdChooseScanPath);
    foreignHtml_ = AddEdit(66, 72, 189, kForeignHtmlLimit, kIdForeignHtml);
    chooseForeignHtml_ = AddButton("<", 255, 72, 15, 12, kIdChooseForeignHtml);
    typeLabel_ = AddLabel("Type to create:", 12, 93, 52);
    typePublic_ = Place(new QCheckBox(QStringLiteral("Public/Exported/Interface"), this), 66, 93,
                        98, 10, kIdTypePublic);
    typePrivate_ = Place(new QCheckBox(QStringLiteral("Private/Internal/Protected"), this), 168, 93,
                         99, 10, kIdTypePrivate);

    AddLabel("Output path:", 12, 114, 52);
    outputPath_ = AddEdit(66, 114, 174, kOutputPathLimit, kIdOutputPath);
    AddButton("<", 240, 114, 15, 12, kIdChooseOutputPath);
    AddButton("->", 255, 114, 15, 12, kIdShowMasterIndex);
    AddLabel("Master Index:", 12, 136, 52);
    masterIndexName_ = AddEdit(66, 135, 189, kMasterIndexNameLimit, kIdMasterIndexName);
    AddButton("<", 255, 135, 15, 12, kIdChooseMasterIndex);
    AddLabel("Filter:", 12, 156, 52);
    filter_ = AddEdit(66, 156, 204, kFilterLimit, kIdFilter);
    filter_->setValidator(new UpperCaseValidator(filter_));

    AddButton("Create", 297, 24, 54, 14, kIdCreate);
    AddButton("&Remove", 297, 45, 54, 14, kIdRemove);
    AddButton("&Options...", 297, 78, 54, 14, kIdOptions);
    AddButton("&Help", 297, 99, 54, 14, kIdHelp);
    AddButton("&Close", 297, 132, 54, 14, kIdClose);
    protocolToggle_ = AddButton(kProtocolShownText, 297, 156, 54, 14, kIdProtocolToggle);

    Place(protocolList_, 6, 195, 354, 144, kIdProtocolList);
    protocolList_->setSelectionMode(QAbstractItemView::SingleSelection);
    protocolList_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QWidget::setTabOrder(protocolToggle_, protocolList_);

    tipBox_ = new TipBox(this);
}

void CMainDlg::FitTexts() {
    // The mode box and the protocol button show one of two texts each: both must fit.
    double stretch = 1.0;
    for (bool first : {true, false}) {
        scanMode_->setText(QString::fromLatin1(first ? kScanModeText : kForeignModeText));
        protocolToggle_->setText(
            QString::fromLatin1(first ? kProtocolShownText : kProtocolHiddenText));
        stretch = std::max(stretch, StretchForTexts(*this));
    }
    StretchAcross(*this, stretch);
}

void CMainDlg::ConnectActions() {
    // What an action wrote reaches the list when it returns, not a turn of the event loop later.
    auto onClick = [this](int controlId, auto handler) {
        connect(static_cast<QAbstractButton*>(Control(controlId)), &QAbstractButton::clicked, this,
                [this, handler] {
                    handler();
                    protocol_.Flush();
                });
    };
    onClick(kIdViewProjects, [this] { OpenProjects(); });
    onClick(kIdMatchDescription, [this] { actions_.GetMatchingDescription(); });
    onClick(kIdScanMode, [this] { SwitchMode(); });
    onClick(kIdChooseScanPath, [this] { actions_.ChooseScanPath(); });
    onClick(kIdChooseForeignHtml, [this] { actions_.ChooseForeignHtml(); });
    onClick(kIdChooseOutputPath, [this] { actions_.ChooseOutputPath(); });
    onClick(kIdShowMasterIndex, [this] { actions_.ShowMasterIndex(); });
    onClick(kIdChooseMasterIndex, [this] { actions_.ChooseMasterIndex(); });
    onClick(kIdCreate, [this] { actions_.CreateButton(); });
    onClick(kIdRemove, [this] { actions_.RemoveProject(); });
    onClick(kIdOptions, [this] { OpenOptions(); });
    onClick(kIdHelp, [this] { OpenAbout(); });
    onClick(kIdClose, [this] { QDialog::reject(); });
    onClick(kIdProtocolToggle, [this] { ToggleProtocol(); });
    connect(protocolList_, &QListView::doubleClicked, this, [this] { ShowProtocolLine(); });
}

void CMainDlg::RegisterTips() {
    const std::pair<int, const char*> tips[] = {
        {kIdViewProjects, "View current index contents"},
        {kIdMatchDescription, "Get matching description from html file"},
        {kIdChooseScanPath, "Choose a path to scan"},
        {kIdChooseOutputPath, "Choose a output path"},
        {kIdShowMasterIndex, "Show html index in browser..."},
        {kIdChooseMasterIndex, "Choose a master index filename"},
        {kIdProtocolToggle, "Toggle logging view"},
        {kIdCreate, "Scan the path or insert the foreign index..."},
    };
    for (const auto& [controlId, text] : tips) {
        tips_.AddTip(controlId, text, kTipBackground, kTipText);
    }
}

void CMainDlg::ReadControls(MainFields& fields) {
    fields.filter = ToBytes(filter_->text());
    fields.outputPath = ToBytes(outputPath_->text());
    fields.scanPath = ToBytes(scanPath_->text());
    fields.projectName = ToBytes(projectName_->text());
    fields.masterIndexName = ToBytes(masterIndexName_->text());
    fields.typePrivate = typePrivate_->isChecked() ? 1 : 0;
    fields.typePublic = typePublic_->isChecked() ? 1 : 0;
    fields.projectDesc = ToBytes(projectDesc_->toPlainText());
    fields.foreignHtml = ToBytes(foreignHtml_->text());
    fields.scanMode = scanMode_->isChecked() ? 1 : 0;
}

void CMainDlg::WriteControls(const MainFields& fields) {
    const std::tuple<QLineEdit*, const std::string&, std::string_view> edits[] = {
        {filter_, fields.filter, "filter"},
        {outputPath_, fields.outputPath, "output path"},
        {scanPath_, fields.scanPath, "scan path"},
        {projectName_, fields.projectName, "project name"},
        {masterIndexName_, fields.masterIndexName, "master index name"},
        {foreignHtml_, fields.foreignHtml, "foreign index"},
    };
    for (const auto& [edit, value, name] : edits) {
        QString text = ToQString(value);
        if (FitsField(text, edit->maxLength(), name)) {
            edit->setText(text);
        }
    }
    typePrivate_->setChecked(fields.typePrivate != 0);
    typePublic_->setChecked(fields.typePublic != 0);
    if (ToBytes(projectDesc_->toPlainText()) != fields.projectDesc) {
        QString text = ToQString(fields.projectDesc);
        if (FitsField(text, kProjectDescLimit, "project description")) {
            projectDesc_->setPlainText(text);
        }
    }
    scanMode_->setChecked(fields.scanMode != 0);
}

bool CMainDlg::FitsField(const QString& text, int limit, std::string_view name) {
    if (text.size() <= limit) {
        return true;
    }
    prompter_.Warning(
        FormatLine(kValueTooLong, {name, std::to_string(text.size()), std::to_string(limit)}));
    return false;
}

void CMainDlg::SwitchMode() {
    ReadControls(fields_);
    fields_.modeIsScan = fields_.scanMode;
    ShowMode();
    WriteControls(fields_);
}

void CMainDlg::ShowMode() {
    bool scan = fields_.modeIsScan != 0;
    for (QWidget* widget :
         {static_cast<QWidget*>(scanPath_), static_cast<QWidget*>(chooseScanPath_),
          static_cast<QWidget*>(typeLabel_), static_cast<QWidget*>(typePublic_),
          static_cast<QWidget*>(typePrivate_)}) {
        widget->setVisible(scan);
    }
    foreignHtml_->setVisible(!scan);
    chooseForeignHtml_->setVisible(!scan);
    scanMode_->setText(QString::fromLatin1(scan ? kScanModeText : kForeignModeText));
}

void CMainDlg::ToggleProtocol() {
    protocolShown_ = !protocolShown_;
    protocolToggle_->setText(
        QString::fromLatin1(protocolShown_ ? kProtocolShownText : kProtocolHiddenText));
    // Folded, the window ends where the list begins, wherever the dialog font puts it.
    setFixedSize(width(), protocolShown_ ? units_.Y(kWindowHeight) : protocolList_->y());
    repaint();
}

void CMainDlg::ShowProtocolLine() {
    QModelIndexList selected = protocolList_->selectionModel()->selectedRows();
    if (!selected.isEmpty()) {
        prompter_.Information(ToBytes(protocol_.LineText(selected.front().row())));
    }
}

void CMainDlg::OpenOptions() {
    COptionsDlg dialog(prompter_, this);
    dialog.EditOptions(fields_.options);
}

void CMainDlg::OpenProjects() {
    ReadControls(fields_);
    CProjectsDlg dialog(prompter_, this);
    dialog.ShowProjects(fields_.options.configFile, fields_.outputPath, fields_.masterIndexName);
}

void CMainDlg::OpenAbout() {
    CAboutDlg dialog(this);
    dialog.exec();
}

void CMainDlg::keyPressEvent(QKeyEvent* event) {
    if (IsEnterKey(event) && qobject_cast<QPushButton*>(focusWidget()) == nullptr) {
        actions_.GenerateOnEnter();
        protocol_.Flush();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CMainDlg::reject() {
    if (prompter_.CautiousQuestion(kCloseQuestion)) {
        QDialog::reject();
    }
}

bool CMainDlg::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseMove && watched->isWidgetType()) {
        auto* widget = static_cast<QWidget*>(watched);
        QPoint point = static_cast<QMouseEvent*>(event)->position().toPoint();
        tips_.TrackMouse(widget == this ? point : widget->mapTo(this, point));
    } else if (event->type() == QEvent::Leave && watched == this) {
        tips_.MouseLeft();
    }
    return QDialog::eventFilter(watched, event);
}

int CMainDlg::ControlAt(QPoint point) const {
    if (!rect().contains(point)) {
        return -1;
    }
    // Hidden controls do not count: in foreign mode the scan path button lies hidden under the
    // foreign file button, whose hint it would otherwise show.
    for (const auto& [controlId, widget] : controls_) {
        if (!widget->isHidden() && widget->geometry().contains(point)) {
            return controlId;
        }
    }
    return 0;
}

QWidget* CMainDlg::Control(int controlId) const {
    for (const auto& [id, widget] : controls_) {
        if (id == controlId) {
            return widget;
        }
    }
    return nullptr;
}

TipRect CMainDlg::ControlRect(int controlId) const {
    QWidget* control = Control(controlId);
    return control != nullptr ? TipRect::FromQRect(control->geometry()) : TipRect{};
}

TipRect CMainDlg::OuterRect() const {
    return TipRect::FromQRect(frameGeometry().translated(-mapToGlobal(QPoint(0, 0))));
}

void CMainDlg::DrawTip(const TipRect& box, const CTipItem& item, int fontHeight) {
    tipBox_->ShowItem(box, item, fontHeight);
}

void CMainDlg::EraseTip(const TipRect&) {
    tipBox_->hide();
}

}  // namespace sylva

#include "app/window/options_dialog.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <algorithm>

#include "app/window/qt_text.h"
#include "app/window/text_fit.h"
#include "engine/engine.h"
#include "support/protocol.h"
#include "support/text_format.h"

namespace sylva {

namespace {

constexpr int kDialogWidth = 337;
constexpr int kDialogHeight = 244;

constexpr std::string_view kInlineCommentRefused =
    "Please enter a whole number from 5 to 1000 for \"Max. comment inline function declaration:\".";
constexpr std::string_view kConfigFileRefused =
    "Please enter a configuration file name of at most %d characters.";
constexpr std::string_view kConfigFileUnreadable =
    "Cannot read the configuration file %s; the built-in settings stay in force.";
constexpr std::string_view kStandardConfigFileRead =
    "Cannot read the configuration file %s; %s from the current directory was read instead.";

// A check box of the dialog and the run option it edits, at x, y with the given width (dialog
// units, 10 high).
struct OptionBox {
    const char* label;
    int StoredOptions::*field;
    int x;
    int y;
    int width;
};

constexpr OptionBox kSettingBoxes[] = {
    {"Remove function declaration inline (param) comments", &StoredOptions::removeInlineComments,
     18, 81, 189},
    {"Add alphabetic index to project index", &StoredOptions::alphaIndex, 18, 120, 189},
    {"Add last write access date/time to \"History\" section", &StoredOptions::addHistoryDate, 18,
     132, 189},
    {"Add source file link to \"Source\" section", &StoredOptions::addSourceLink, 18, 146, 189},
    {"Copy sources to pool directory (if \"Add source link\")", &StoredOptions::copySources, 18,
     159, 189},
    {"Group index items by class name (if found)", &StoredOptions::groupByClass, 18, 174, 189},
    {"Include subdirectories while scanning path", &StoredOptions::includeSubdirs, 18, 186, 189},
    {"Search for every main item and replace with link", &StoredOptions::searchAndLink, 18, 198,
     189},
};

// The section boxes, top to bottom in one column.
constexpr std::pair<const char*, int StoredOptions::*> kSectionBoxes[] = {
    {"Content section", &StoredOptions::sectionContent},
    {"Description section", &StoredOptions::sectionDescription},
    {"Parameter section", &StoredOptions::sectionParameter},
    {"Attention section", &StoredOptions::sectionAttention},
    {"Remark section", &StoredOptions::sectionRemark},
    {"Return section", &StoredOptions::sectionReturn},
    {"Throws section", &StoredOptions::sectionThrows},
    {"Type section", &StoredOptions::sectionType},
    {"Examples section", &StoredOptions::sectionExamples},
    {"Author section", &StoredOptions::sectionAuthor},
    {"Copyright section", &StoredOptions::sectionCopyright},
    {"Version section", &StoredOptions::sectionVersion},
    {"History section", &StoredOptions::sectionHistory},
    {"Request section", &StoredOptions::sectionRequest},
    {"Source section", &StoredOptions::sectionSource},
    {"See Also section", &StoredOptions::sectionSeeAlso},
};
constexpr int kSectionsX = 231;
constexpr int kSectionsTop = 18;
constexpr int kSectionsSpacing = 12;
constexpr int kSectionsWidth = 90;

}  // namespace

COptionsDlg::COptionsDlg(Prompter& prompter, QWidget* parent)
    : QDialog(parent), prompter_(prompter), units_(DialogUnits::ForFont(DialogFont())) {
    setFont(DialogFont());
    setWindowTitle(QStringLiteral("Options"));
    setFixedSize(units_.X(kDialogWidth), units_.Y(kDialogHeight));

    units_.Place(new QGroupBox(QStringLiteral("Configuration/Property file"), this), 9, 3, 204, 37);
    units_.Place(new QGroupBox(QStringLiteral("Comment settings"), this), 9, 48, 204, 51);
    units_.Place(new QGroupBox(QStringLiteral("Common settings"), this), 9, 108, 204, 108);
    units_.Place(new QGroupBox(QStringLiteral("Sections to create"), this), 222, 3, 108, 213);

    units_.Place(new QLabel(QStringLiteral("Config.File:"), this), 15, 21, 40, 12);
    configFile_ = units_.Place(new QLineEdit(this), 57, 21, 105, 12);
    configFile_->setMaxLength(kConfigFileLimit);
    auto* load = units_.Place(new QPushButton(QStringLiteral("Load"), this), 162, 21, 39, 13);
    units_.Place(new QLabel(QStringLiteral("Max. comment inline function declaration:"), this), 18,
                 63, 141, 8);
    maxInlineComment_ = units_.Place(new QLineEdit(this), 162, 63, 39, 12);

    for (const OptionBox& box : kSettingBoxes) {
        auto* check = new QCheckBox(QString::fromLatin1(box.label), this);
        boxes_.emplace_back(box.field, units_.Place(check, box.x, box.y, box.width, 10));
    }
    Box(&StoredOptions::searchAndLink)->setEnabled(false);
    int y = kSectionsTop;
    for (const auto& [label, field] : kSectionBoxes) {
        auto* check = new QCheckBox(QString::fromLatin1(label), this);
        boxes_.emplace_back(field, units_.Place(check, kSectionsX, y, kSectionsWidth, 10));
        y += kSectionsSpacing;
    }

    auto* ok = units_.Place(new QPushButton(QStringLiteral("OK"), this), 222, 225, 50, 14);
    auto* cancel = units_.Place(new QPushButton(QStringLiteral("Cancel"), this), 279, 225, 51, 14);
    ok->setDefault(true);

    // Each section box switches the options that only matter when its section is written.
    const std::pair<int StoredOptions::*, std::vector<QWidget*>> enableRules[] = {
        {&StoredOptions::sectionSource,
         {Box(&StoredOptions::addSourceLink), Box(&StoredOptions::copySources)}},
        {&StoredOptions::sectionHistory, {Box(&StoredOptions::addHistoryDate)}},
        {&StoredOptions::sectionParameter,
         {maxInlineComment_, Box(&StoredOptions::removeInlineComments)}},
    };
    for (const auto& [trigger, dependents] : enableRules) {
        connect(Box(trigger), &QCheckBox::clicked, this,
                [this, trigger, dependents] { ApplyEnableRule(trigger, dependents); });
    }
    connect(load, &QPushButton::clicked, this, &COptionsDlg::LoadConfigFile);
    connect(ok, &QPushButton::clicked, this, &COptionsDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &COptionsDlg::reject);
    StretchAcross(*this, StretchForTexts(*this));
}

QCheckBox* COptionsDlg::Box(int StoredOptions::*field) const {
    for (const auto& [boxField, box] : boxes_) {
        if (boxField == field) {
            return box;
        }
    }
    return nullptr;
}

int COptionsDlg::EditOptions(StoredOptions& options) {
    ShowOptions(options);
    int result = exec();
    if (result == QDialog::Accepted) {
        StoreOptions(options);
    }
    return result;
}

void COptionsDlg::ShowOptions(const StoredOptions& options) {
    configFile_->setText(ToQString(options.configFile));
    maxInlineComment_->setText(QString::number(options.maxInlineComment));
    for (const auto& [field, box] : boxes_) {
        box->setChecked(options.*field != 0);
    }
}

void COptionsDlg::StoreOptions(StoredOptions& options) const {
    options.configFile = ToBytes(configFile_->text());
    options.maxInlineComment = TypedInlineComment().value_or(options.maxInlineComment);
    for (const auto& [field, box] : boxes_) {
        options.*field = box->isChecked() ? 1 : 0;
    }
}

std::optional<unsigned> COptionsDlg::TypedInlineComment() const {
    QString text = maxInlineComment_->text().trimmed();
    // Only digits: toUInt alone would also take a sign or a "0x" prefix.
    bool digitsOnly = std::all_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); });
    bool converted = false;
    unsigned value = text.toUInt(&converted);
    if (!digitsOnly || !converted || value < kMinInlineComment || value > kMaxInlineComment) {
        return std::nullopt;
    }
    return value;
}

void COptionsDlg::accept() {
    if (!TypedInlineComment()) {
        prompter_.Warning(kInlineCommentRefused);
        maxInlineComment_->setFocus();
        maxInlineComment_->selectAll();
        return;
    }
    // The name is handed on as bytes, so its limit counts bytes.
    if (ToBytes(configFile_->text()).size() > static_cast<std::size_t>(kConfigFileLimit)) {
        prompter_.Warning(FormatLine(kConfigFileRefused, {std::to_string(kConfigFileLimit)}));
        configFile_->setFocus();
        return;
    }
    QDialog::accept();
}

void COptionsDlg::LoadConfigFile() {
    std::string path = ToBytes(configFile_->text());
    Settings settings;
    // The load reports only what it could not open, so any line means the named file was not
    // read; a load that still succeeded read the standard file in its place.
    MemoryListBox failures;
    if (!LoadConfig(settings, path, &failures)) {
        prompter_.Warning(FormatLine(kConfigFileUnreadable, {path}));
    } else if (!failures.Lines().empty()) {
        prompter_.Warning(FormatLine(kStandardConfigFileRead, {path, kConfigFileName}));
    }
}

void COptionsDlg::ApplyEnableRule(int StoredOptions::*trigger,
                                  const std::vector<QWidget*>& dependents) {
    bool enabled = Box(trigger)->isChecked();
    for (QWidget* dependent : dependents) {
        dependent->setEnabled(enabled);
    }
}

}  // namespace sylva

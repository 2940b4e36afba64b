#include "window_fixture.h"

#include <QClipboard>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <filesystem>

#include "app/window/qt_text.h"

namespace sylva::test {

std::vector<std::string> Shown(const ScriptedPrompter& prompter, std::string_view kind) {
    std::string prefix = std::string(kind) + ": ";
    std::vector<std::string> texts;
    for (const std::string& record : prompter.shown) {
        if (record.starts_with(prefix)) {
            texts.push_back(record.substr(prefix.size()));
        }
    }
    return texts;
}

std::string MasterIndexRecord(const std::string& name, const std::string& link,
                              const std::string& description) {
    return "<!--" + name +
           "--><tr><td width=\"30%\" valign=\"top\" align=\"left\"><font face=Arial><a href=\"" +
           link + "\">" + name +
           "</a></font></td><td valign=\"top\" align=\"left\" width=\"70%\"><font face=Arial>" +
           description + "</font></td></tr><!--DESC:" + name + ";" + link + ";" + description +
           "DESCEND-->";
}

std::string MasterIndexPage(const std::vector<std::string>& records) {
    std::string page = "<html><body><table><!-- ##### BEGIN OF SYLVA INDEX ##### -->\n";
    for (const std::string& record : records) {
        page += record + "\n";
    }
    return page + "<!-- ##### END OF SYLVA INDEX ##### -->\n</table></body></html>\n";
}

QString CutTexts(const QWidget& dialog) {
    QStringList cut;
    auto check = [&cut](const QString& text, int needs, int has) {
        if (needs > has) {
            cut << QStringLiteral("%1: needs %2 pixels, has %3").arg(text).arg(needs).arg(has);
        }
    };
    for (QWidget* widget : dialog.findChildren<QWidget*>()) {
        if (auto* push = qobject_cast<QPushButton*>(widget)) {
            QString shown = push->text();
            shown.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
            shown.remove(u'&').replace(u'\x01', u'&');
            QStyle* style = push->style();
            int border = style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, push) +
                         (push->autoDefault() || push->isDefault()
                              ? style->pixelMetric(QStyle::PM_ButtonDefaultIndicator, nullptr, push)
                              : 0);
            check(push->text(), push->fontMetrics().horizontalAdvance(shown),
                  push->width() - 2 * border);
        } else if (auto* label = qobject_cast<QLabel*>(widget)) {
            if (!label->wordWrap() && !label->text().isEmpty()) {
                check(label->text(), label->sizeHint().width(), label->width());
            }
        } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            check(button->text(), button->sizeHint().width(), button->width());
        }
    }
    return cut.join(QStringLiteral("; "));
}

WindowFixture::WindowFixture()
    : output(dir.File("out")), fields(MainFields::Initial()), cwd_(dir.path()) {
    std::filesystem::create_directories(output);
    fields.outputPath = output;
    window_ = std::make_unique<CMainDlg>(fields, prompter);
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
}

WindowFixture::~WindowFixture() {
    QVERIFY2(prompter.answers.empty(), "a scripted answer was never asked for");
    QVERIFY2(prompter.choices.empty(), "a scripted file choice was never asked for");
}

void WindowFixture::Click(int controlId) {
    QWidget* control = Control(controlId);
    QVERIFY2(control != nullptr && control->isVisible(), qPrintable(QString::number(controlId)));
    QTest::mouseClick(control, Qt::LeftButton, Qt::NoModifier, control->rect().center());
}

void WindowFixture::Type(int controlId, const QString& text) {
    QWidget* control = Control(controlId);
    control->setFocus();
    QTest::keyClick(control, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(control, Qt::Key_Delete);
    for (QChar c : text) {
        // Key codes exist for ASCII only; other letters arrive as text, as from an input method.
        if (c.unicode() < 128) {
            QTest::keyClick(control, c.toLatin1());
        } else {
            QTest::sendKeyEvent(QTest::Click, control, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }
}

void WindowFixture::Paste(int controlId, const QString& text) {
    QWidget* control = Control(controlId);
    control->setFocus();
    QTest::keyClick(control, Qt::Key_A, Qt::ControlModifier);
    QApplication::clipboard()->setText(text);
    QTest::keyClick(control, Qt::Key_V, Qt::ControlModifier);
}

std::vector<std::string> WindowFixture::ProtocolLines() {
    auto* list = qobject_cast<QListView*>(Control(CMainDlg::kIdProtocolList));
    window_->ProtocolLines().Flush();
    std::vector<std::string> lines;
    for (int row = 0; row < list->model()->rowCount(); ++row) {
        lines.push_back(ToBytes(list->model()->index(row, 0).data().toString()));
    }
    return lines;
}

void WindowFixture::FillProject(const QString& name, const QString& scan) {
    Type(CMainDlg::kIdProjectName, name);
    Type(CMainDlg::kIdScanPath, scan);
}

}  // namespace sylva::test

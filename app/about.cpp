#include "app/about.h"

#include "files/IniFile.h"
#include "image/Texts.h"
#include "ui/FormHelpers.h"

#include <QFrame>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>

#include <algorithm>
#include <utility>

namespace {

// The count is read from the section as "Aboutinfo" and the rest as "AboutInfo"; both name the
// same section, since names are compared without regard to case.
const QString countSection = QStringLiteral("Aboutinfo");
const QString aboutSection = QStringLiteral("AboutInfo");
constexpr int MaxAboutLines = 100;

}  // namespace

TfrmAbout::TfrmAbout(AboutSources aboutSources, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      btnOK(named(new QPushButton(this), "btnOK")),
      Panel1(named(new QFrame(this), "Panel1")),
      ProgramIcon(named(new QLabel(Panel1), "ProgramIcon")),
      GroupBox1(named(new QGroupBox(Panel1), "GroupBox1")),
      mmoInfo(named(new QPlainTextEdit(GroupBox1), "mmoInfo")),
      lblOpuVersion(named(new QLabel(GroupBox1), "lblOpuVersion")),
      sources(std::move(aboutSources)) {
  setObjectName(QStringLiteral("frmAbout"));
  setFixedSize(394, 303);
  btnOK->setGeometry(311, 268, 75, 25);
  btnOK->setDefault(true);
  connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
  Panel1->setGeometry(8, 8, 377, 249);
  Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
  Panel1->setLineWidth(2);
  ProgramIcon->setGeometry(16, 14, 121, 160);
  ProgramIcon->setScaledContents(true);
  // A missing picture leaves the place empty; the dialog still shows everything else.
  ProgramIcon->setPixmap(PendantPicture());
  GroupBox1->setGeometry(152, 8, 209, 225);
  mmoInfo->setGeometry(8, 16, 177, 161);
  mmoInfo->setReadOnly(true);
  mmoInfo->setFrameShape(QFrame::NoFrame);
  QPalette memoPalette = mmoInfo->palette();
  memoPalette.setColor(QPalette::Base, palette().color(QPalette::Window));
  mmoInfo->setPalette(memoPalette);
  lblOpuVersion->setGeometry(8, 200, 193, 16);
}

void TfrmAbout::showEvent(QShowEvent* event) {
  if (!event->spontaneous()) FormShow();
  QDialog::showEvent(event);
}

void TfrmAbout::FormShow() {
  CentreOnScreen(*this);
  setWindowTitle(Text(Msg::AboutTitle));
  btnOK->setText(OkCaption);
  mmoInfo->clear();
  QStringList lines = programLines();
  lblOpuVersion->setText(opuLine());
  lines << makerLines();
  mmoInfo->setPlainText(lines.join(u'\n'));
}

QStringList TfrmAbout::programLines() const {
  const std::optional<ProgramVersionInfo>& record = sources.versionInfo;
  if (!record) return {};
  QStringList lines;
  if (record->FileDescription) lines << *record->FileDescription;
  const std::optional<QString>& version = BuildVersionIn(*record);
  QString versionLine =
      version ? QStringLiteral("Version: ") + *version : QStringLiteral("Version: unknown");
  if (record->Comments) versionLine += u' ' + *record->Comments;
  lines << versionLine;
  return lines;
}

QString TfrmAbout::opuLine() const {
  const QString version = sources.readOpuVersion ? sources.readOpuVersion() : QString();
  return version.isEmpty() ? QString() : QStringLiteral("OPU info: ") + version;
}

QStringList TfrmAbout::makerLines() const {
  const IniContent about =
      IniFile(sources.programFolder + QStringLiteral("about.ini")).Load().content;
  QStringList lines;
  // The box has room for a few lines; a damaged count must not hold the dialog for hours.
  const int count =
      std::min(about.ReadInteger(countSection, QStringLiteral("Lines"), 0), MaxAboutLines);
  if (count != 0) {
    lines << QString();
    for (int number = 1; number <= count; ++number) {
      lines << about.ReadString(aboutSection, QStringLiteral("Line") + QString::number(number));
    }
  } else {
    lines << QStringLiteral("ORVEL Electronics AB");
  }
  lines << about.ReadString(aboutSection, QStringLiteral("WWW"))
        << about.ReadString(aboutSection, QStringLiteral("MAIL"));
  return lines;
}

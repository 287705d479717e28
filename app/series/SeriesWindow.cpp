#include "app/series/SeriesWindow.h"

#include "image/SeriesPlan.h"
#include "image/Texts.h"
#include "ui/FormHelpers.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSpinBox>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

QLabel* LargeLabel(QWidget* parent, double points, const char* name) {
  auto* label = named(new QLabel(parent), name);
  QFont font = label->font();
  font.setPointSizeF(points);
  font.setBold(true);
  label->setFont(font);
  label->setWordWrap(true);
  return label;
}

QTableWidget* Table(QWidget* parent, const QList<Msg::Id>& heads, const char* name) {
  auto* table = named(new QTableWidget(0, static_cast<int>(heads.size()), parent), name);
  QStringList texts;
  for (const Msg::Id head : heads) texts << Text(head);
  table->setHorizontalHeaderLabels(texts);
  table->verticalHeader()->setVisible(false);
  table->horizontalHeader()->setStretchLastSection(true);
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  // A few lines stay in view however small the window is laid out.
  table->setMinimumHeight(table->horizontalHeader()->sizeHint().height() +
                          table->verticalHeader()->defaultSectionSize() * 5 / 2 +
                          2 * table->frameWidth());
  return table;
}

}  // namespace

TfrmSeries::TfrmSeries(QWidget* parent)
    : QDialog(parent),
      rbWindowConfiguration(named(new QRadioButton(Text(Msg::SeriesUseWindowConfiguration), this),
                                  "rbWindowConfiguration")),
      rbFileConfiguration(named(new QRadioButton(Text(Msg::SeriesUseFileConfiguration), this),
                                "rbFileConfiguration")),
      edtConfigurationFile(named(new QLineEdit(this), "edtConfigurationFile")),
      btnChooseFile(named(new QPushButton(Text(Msg::SeriesChooseFile), this), "btnChooseFile")),
      spnExpected(named(new QSpinBox(this), "spnExpected")),
      rbKeepCodes(named(new QRadioButton(Text(Msg::SeriesKeepCodes), this), "rbKeepCodes")),
      rbSequence(named(new QRadioButton(Text(Msg::SeriesSequence), this), "rbSequence")),
      edtSequenceStart(named(new QLineEdit(this), "edtSequenceStart")),
      spnStep(named(new QSpinBox(this), "spnStep")),
      rbList(named(new QRadioButton(Text(Msg::SeriesList), this), "rbList")),
      tblList(Table(this,
                    {Msg::SeriesColumnCode, Msg::SeriesColumnFacility, Msg::SeriesColumnRoom,
                     Msg::SeriesColumnNote, Msg::SeriesColumnState},
                    "tblList")),
      btnListOpen(named(new QPushButton(Text(Msg::SeriesListOpen), this), "btnListOpen")),
      btnListSave(named(new QPushButton(Text(Msg::SeriesListSave), this), "btnListSave")),
      btnListAdd(named(new QPushButton(Text(Msg::SeriesListAdd), this), "btnListAdd")),
      btnListRemove(named(new QPushButton(Text(Msg::SeriesListRemove), this), "btnListRemove")),
      lblNextEntry(named(new QLabel(this), "lblNextEntry")),
      lblPendant(LargeLabel(this, 20, "lblPendant")),
      lblResultLine(LargeLabel(this, 18, "lblResultLine")),
      lblCounter(LargeLabel(this, 16, "lblCounter")),
      lblStatus(named(new QLabel(this), "lblStatus")),
      tblUnits(Table(this,
                     {Msg::SeriesColumnNumber, Msg::SeriesColumnCode, Msg::RecordColumnAssignment,
                      Msg::SeriesColumnResult, Msg::SeriesColumnFinding},
                     "tblUnits")),
      lblSummary(named(new QLabel(this), "lblSummary")),
      btnStart(named(new QPushButton(Text(Msg::SeriesStart), this), "btnStart")),
      btnStop(named(new QPushButton(Text(Msg::SeriesStop), this), "btnStop")),
      btnPrintSummary(
          named(new QPushButton(Text(Msg::SeriesPrintSummary), this), "btnPrintSummary")),
      btnSaveSummaryPdf(
          named(new QPushButton(Text(Msg::SeriesSaveSummaryPdf), this), "btnSaveSummaryPdf")),
      btnShowInRecord(
          named(new QPushButton(Text(Msg::SeriesShowInRecord), this), "btnShowInRecord")),
      btnClose(named(new QPushButton(Text(Msg::ButtonClose), this), "btnClose")) {
  setObjectName(QStringLiteral("frmSeries"));
  setWindowTitle(Text(Msg::SeriesTitle));

  auto* configuration = new QGroupBox(Text(Msg::SeriesConfigurationGroup), this);
  auto* configurationLayout = new QGridLayout(configuration);
  configurationLayout->addWidget(rbWindowConfiguration, 0, 0, 1, 3);
  configurationLayout->addWidget(rbFileConfiguration, 1, 0);
  configurationLayout->addWidget(edtConfigurationFile, 1, 1);
  configurationLayout->addWidget(btnChooseFile, 1, 2);
  configurationLayout->addWidget(new QLabel(Text(Msg::SeriesExpectedCount), configuration), 2, 0);
  configurationLayout->addWidget(spnExpected, 2, 1, Qt::AlignLeft);
  edtConfigurationFile->setReadOnly(true);
  rbWindowConfiguration->setChecked(true);
  spnExpected->setRange(1, LargestSeries);
  spnExpected->setValue(10);

  auto* codes = new QGroupBox(Text(Msg::SeriesCodesGroup), this);
  auto* codesLayout = new QGridLayout(codes);
  codesLayout->addWidget(rbKeepCodes, 0, 0, 1, 4);
  codesLayout->addWidget(rbSequence, 1, 0);
  codesLayout->addWidget(edtSequenceStart, 1, 1);
  codesLayout->addWidget(new QLabel(Text(Msg::SeriesStep), codes), 1, 2, Qt::AlignRight);
  codesLayout->addWidget(spnStep, 1, 3, Qt::AlignLeft);
  codesLayout->addWidget(rbList, 2, 0, 1, 4);
  codesLayout->addWidget(tblList, 3, 0, 1, 4);
  auto* listButtons = new QHBoxLayout;
  for (QPushButton* button : {btnListOpen, btnListSave, btnListAdd, btnListRemove})
    listButtons->addWidget(button);
  listButtons->addStretch();
  listButtons->addWidget(lblNextEntry);
  codesLayout->addLayout(listButtons, 4, 0, 1, 4);
  edtSequenceStart->setMaxLength(4);
  // Four hex digits: a field as wide as the line would look as if it took a name.
  edtSequenceStart->setMaximumWidth(
      edtSequenceStart->fontMetrics().horizontalAdvance(QStringLiteral("WWWWWW")) + 16);
  edtSequenceStart->setInputMask(QStringLiteral(">HHHH"));
  spnStep->setRange(1, 0xFF);
  spnStep->setDisplayIntegerBase(16);
  rbSequence->setChecked(true);
  auto* group = new QButtonGroup(this);
  for (QRadioButton* button : {rbKeepCodes, rbSequence, rbList}) group->addButton(button);

  auto* running = new QVBoxLayout;
  running->addWidget(lblPendant);
  running->addWidget(lblResultLine);
  running->addWidget(lblCounter);
  running->addWidget(lblStatus);
  lblResultLine->setMargin(6);

  auto* buttons = new QHBoxLayout;
  for (QPushButton* button : {btnStart, btnStop}) buttons->addWidget(button);
  buttons->addStretch();
  for (QPushButton* button : {btnPrintSummary, btnSaveSummaryPdf, btnShowInRecord, btnClose})
    buttons->addWidget(button);
  btnStop->setEnabled(false);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(configuration);
  layout->addWidget(codes, 2);
  layout->addLayout(running);
  layout->addWidget(tblUnits, 2);
  layout->addWidget(lblSummary);
  layout->addLayout(buttons);
  connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);
  // A screen reader names each field by the caption beside it.
  const std::pair<QWidget*, Msg::Id> names[] = {
      {edtConfigurationFile, Msg::SeriesUseFileConfiguration},
      {spnExpected, Msg::SeriesExpectedCount},
      {edtSequenceStart, Msg::SeriesSequence},
      {spnStep, Msg::SeriesStep}};
  for (const auto& [control, caption] : names) {
    const QString name = Text(caption).remove(u':');
    control->setAccessibleName(name);
    if (auto* spin = qobject_cast<QSpinBox*>(control)) {
      for (QLineEdit* edit : spin->findChildren<QLineEdit*>()) edit->setAccessibleName(name);
    }
  }
}

void TfrmSeries::FitToScreen() {
  const QScreen* shownOn = screen();
  if (shownOn == nullptr) return;
  // A laptop's 768 lines less the desktop's panels and the title bar: the buttons at the foot of
  // the window must stay on the screen.
  const int titleBar = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this);
  resize(QSize(900, 760).boundedTo(shownOn->availableGeometry().size() - QSize(0, titleBar)));
  CentreOnScreen(*this);
}

void TfrmSeries::PlaceBelowRunningLines(QWidget& dialog) const {
  if (!isVisible() || screen() == nullptr) return;
  const QRect area = screen()->availableGeometry();
  const QSize outer = dialog.frameGeometry().size();
  const int x = frameGeometry().center().x() - outer.width() / 2;
  const int y = tblUnits->mapToGlobal(QPoint(0, 0)).y();
  dialog.move(std::clamp(x, area.left(), std::max(area.left(), area.right() - outer.width())),
              std::clamp(y, area.top(), std::max(area.top(), area.bottom() - outer.height())));
}

void TfrmSeries::FitColumns(QTableWidget& table) {
  for (int column = 0; column + 1 < table.columnCount(); ++column)
    table.resizeColumnToContents(column);
}

void TfrmSeries::ShowResultLine(const QString& text, bool passed) {
  lblResultLine->setText(text);
  lblResultLine->setStyleSheet(
      text.isEmpty() ? QString()
                     : QStringLiteral("color: white; background: %1;")
                           .arg(passed ? QStringLiteral("#1b7a2e") : QStringLiteral("#b3261e")));
}

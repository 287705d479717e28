#include "app/series/SeriesWindow.h"

#include "image/SeriesPlan.h"
#include "ui/FormHelpers.h"
#include "ui/Texts.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

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
  resize(900, 760);

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

void TfrmSeries::ShowResultLine(const QString& text, bool passed) {
  lblResultLine->setText(text);
  lblResultLine->setStyleSheet(
      text.isEmpty() ? QString()
                     : QStringLiteral("color: white; background: %1;")
                           .arg(passed ? QStringLiteral("#1b7a2e") : QStringLiteral("#b3261e")));
}

#include "app/safetynet/ComparisonWindow.h"

#include "app/ConfigurationFiles.h"
#include "image/Texts.h"
#include "ui/FormHelpers.h"
#include "ui/ThemeColours.h"

#include <QBrush>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

enum Column { MarkColumn, CaptionColumn, WindowColumn, FileColumn, ColumnCount };

}  // namespace

TfrmComparison::TfrmComparison(QWidget* parent)
    : QDialog(parent),
      lblSummary(named(new QLabel(this), "lblSummary")),
      tblFields(named(new QTableWidget(0, ColumnCount, this), "tblFields")),
      btnClose(named(new QPushButton(Text(Msg::ButtonClose), this), "btnClose")) {
  setObjectName(QStringLiteral("frmComparison"));
  setWindowTitle(Text(Msg::CompareTitle));
  resize(760, 640);
  tblFields->setEditTriggers(QAbstractItemView::NoEditTriggers);
  tblFields->setSelectionBehavior(QAbstractItemView::SelectRows);
  tblFields->verticalHeader()->setVisible(false);
  tblFields->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
  tblFields->horizontalHeader()->setSectionResizeMode(CaptionColumn, QHeaderView::Stretch);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(lblSummary);
  layout->addWidget(tblFields);
  layout->addWidget(btnClose, 0, Qt::AlignRight);
  connect(btnClose, &QPushButton::clicked, this, &QDialog::accept);
}

void TfrmComparison::CompareWithFile(ConfigurationFiles& files, const QString& radioCode) {
  const std::optional<FileComparison> comparison = files.CompareWithFile(radioCode);
  if (!comparison) return;
  ShowComparison(comparison->rows, comparison->limitMode, QFileInfo(comparison->path).fileName());
  exec();
}

void TfrmComparison::ShowComparison(const std::vector<ComparedField>& rows,
                                    InactivityLimitModeKind limitMode, const QString& fileName) {
  tblFields->setHorizontalHeaderLabels({QString(), Text(Msg::CompareColumnField),
                                        Text(Msg::CompareColumnWindow),
                                        FormatText(Msg::CompareColumnFile, {fileName})});
  tblFields->setRowCount(static_cast<int>(rows.size()));
  int differing = 0;
  for (int row = 0; row < static_cast<int>(rows.size()); ++row) {
    const ComparedField& compared = rows[static_cast<std::size_t>(row)];
    const QString cells[ColumnCount] = {compared.differs ? QString(DifferenceMark) : QString(),
                                        Text(FieldCaptionText(compared.field, limitMode)),
                                        compared.left, compared.right};
    for (int column = 0; column < ColumnCount; ++column) {
      auto* item = new QTableWidgetItem(cells[column]);
      if (compared.differs) {
        // Mixed into the table's own base colour: its text reads on a light and a dark theme.
        item->setBackground(TintedBase(Tint::Failed, tblFields->palette()));
        QFont bold = item->font();
        bold.setBold(true);
        item->setFont(bold);
      }
      tblFields->setItem(row, column, item);
    }
    if (compared.differs) ++differing;
  }
  tblFields->resizeColumnsToContents();
  const QString count = QString::number(rows.size());
  lblSummary->setText(
      differing == 0 ? FormatText(Msg::CompareNoDifferences, {count})
                     : FormatText(Msg::CompareFieldsDiffer, {QString::number(differing), count}));
}

bool TfrmComparison::IsRowMarked(int row) const {
  const QTableWidgetItem* mark = tblFields->item(row, MarkColumn);
  return mark != nullptr && mark->text() == QString(DifferenceMark);
}

// The platform's UI layer: filters, the handler wrapper, the scripted
// services and the string grid.
#include <gtest/gtest.h>

#include <stdexcept>

#include <QHeaderView>
#include <QPushButton>

#include "orvo_handler.h"
#include "orvo_scripted_ui_services.h"
#include "orvo_string_grid.h"
#include "orvo_ui_services.h"

TEST(FileFilter, TranslatesTheFrameworkFormToQts)
{
    EXPECT_EQ(QtFileFilter(QStringLiteral("TXT|*.txt|XML|*.xml")), QStringLiteral("TXT (*.txt);;XML (*.xml)"));
    EXPECT_EQ(QtFileFilter(QStringLiteral("Text files (*.txt)|*.txt|XML files (*.xml)|*.xml")),
              QStringLiteral("Text files (*.txt);;XML files (*.xml)"));
    EXPECT_EQ(QtFileFilter(QStringLiteral("Pictures|*.png;*.bmp")), QStringLiteral("Pictures (*.png *.bmp)"));
    EXPECT_EQ(QtFileFilter(QStringLiteral("All Files|*.*")), QStringLiteral("All Files (*.*)"));
    EXPECT_EQ(QtFileFilter(QString()), QString());
}

TEST(HandlerWrapper, ShowsWhatAHandlerThrowsAndKeepsWhatItDid)
{
    TScriptedUiServices ui;
    int done = 0;
    EXPECT_FALSE(RunHandler(ui, [&] {
        ++done;
        throw std::runtime_error("'x' is not a valid integer value");
    }));
    EXPECT_FALSE(RunHandler(ui, [] { throw 42; }));
    EXPECT_TRUE(RunHandler(ui, [&] { ++done; }));
    EXPECT_EQ(done, 2);
    ASSERT_EQ(ui.Exceptions().size(), 2);
    EXPECT_EQ(ui.Exceptions()[0], QStringLiteral("'x' is not a valid integer value"));
    EXPECT_FALSE(ui.Exceptions()[1].isEmpty());
}

TEST(HandlerWrapper, ConnectedHandlersNeverLetExceptionsIntoQt)
{
    TScriptedUiServices ui;
    QPushButton button;
    int clicks = 0;
    ConnectHandler(&button, &QPushButton::clicked, &button, ui, [&] {
        ++clicks;
        throw std::logic_error("broken");
    });
    button.click();
    button.click();
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(ui.Exceptions(), QStringList({QStringLiteral("broken"), QStringLiteral("broken")}));
}

TEST(ScriptedUi, AnswersInOrderAndReportsUnscriptedQuestions)
{
    TScriptedUiServices ui;
    QStringList failures;
    ui.SetFailureHandler([&](const QString& why) { failures << why; });
    ui.OpenAnswer(QStringLiteral("/tmp/a.txt"), 2);
    ui.Cancel(TScriptedUiServices::Kind::Text);
    QString file, text = QStringLiteral("0");
    int index = 1;
    EXPECT_TRUE(ui.OpenFile(QStringLiteral("Open"), QStringLiteral("TXT|*.txt"), &index, &file));
    EXPECT_EQ(file, QStringLiteral("/tmp/a.txt"));
    EXPECT_EQ(index, 2);
    EXPECT_FALSE(ui.InputQuery(QStringLiteral("Event type"), QStringLiteral("?"), &text));
    EXPECT_EQ(text, QStringLiteral("0"));
    EXPECT_TRUE(failures.isEmpty());
    EXPECT_FALSE(ui.SaveFile(QStringLiteral("Save"), QString(), &index, &file));
    ASSERT_EQ(failures.size(), 1);
    EXPECT_TRUE(failures[0].contains(QStringLiteral("Save")));
    ASSERT_EQ(ui.Requests().size(), 3u);
    EXPECT_EQ(ui.Requests()[1].value, QStringLiteral("0"));
}

TEST(StringGrid, LowersFixedRowsAndColumnsWhenItShrinksToOne)
{
    TStringGrid grid;
    EXPECT_EQ(grid.FixedRows(), 1);
    EXPECT_EQ(grid.FixedCols(), 1);
    grid.SetRowCount(1);
    grid.SetColCount(1);
    EXPECT_EQ(grid.FixedRows(), 0);
    EXPECT_EQ(grid.FixedCols(), 0);
    grid.SetRowCount(4);
    EXPECT_EQ(grid.FixedRows(), 0);  // growing does not raise them again
    grid.SetFixedRows(1);
    EXPECT_EQ(grid.FixedRows(), 1);
    EXPECT_THROW(grid.SetFixedCols(1), std::out_of_range);
    EXPECT_THROW(grid.SetCells(1, 0, QStringLiteral("x")), std::out_of_range);
    grid.SetRowCount(0);
    EXPECT_EQ(grid.RowCount(), 1);
}

TEST(StringGrid, KeepsCellsInsideAndDropsThoseCutOff)
{
    TStringGrid grid;
    grid.SetColCount(3);
    grid.SetRowCount(3);
    grid.SetCells(2, 2, QStringLiteral("corner"));
    grid.SetCells(0, 1, QStringLiteral("kept"));
    grid.SetCells(1, 0, QStringLiteral("head"));
    // The fixed row and column are the view's headers; the cells after them its items.
    QAbstractItemModel* view = grid.model();
    EXPECT_EQ(view->data(view->index(1, 1)).toString(), QStringLiteral("corner"));
    EXPECT_EQ(view->headerData(0, Qt::Vertical).toString(), QStringLiteral("kept"));
    EXPECT_EQ(view->headerData(0, Qt::Horizontal).toString(), QStringLiteral("head"));
    grid.SetFixedRows(0);
    EXPECT_EQ(view->data(view->index(0, 0)).toString(), QStringLiteral("head"));
    grid.SetRowCount(2);
    grid.SetRowCount(3);
    EXPECT_EQ(grid.Cells(2, 2), QString());
    EXPECT_EQ(grid.Cells(0, 1), QStringLiteral("kept"));
    EXPECT_EQ(grid.Cells(7, 7), QString());
    grid.SetColWidths(1, 33);
    grid.SetColWidths(0, 21);
    grid.SetColCount(5);
    grid.SetFixedRows(1);
    EXPECT_EQ(grid.ColWidths(1), 33);
    EXPECT_EQ(grid.columnWidth(0), 33);
    EXPECT_EQ(grid.verticalHeader()->width(), 21);
    grid.SetColCount(1);  // the fixed column goes; its width stays with the column
    EXPECT_EQ(grid.FixedCols(), 0);
    EXPECT_EQ(grid.columnWidth(0), 21);
}

TEST(StringGrid, ProviderBacksMillionsOfCellsAndCellsReadsIt)
{
    TStringGrid grid;
    grid.resize(300, 200);
    int asked = 0;
    grid.SetColCount(16002);
    grid.SetRowCount(4603);
    grid.SetCellProvider([&](int col, int row) {
        ++asked;
        return QStringLiteral("%1:%2").arg(col).arg(row);
    });
    EXPECT_EQ(grid.Cells(16001, 4602), QStringLiteral("16001:4602"));
    grid.SetCells(5, 5, QStringLiteral("written"));
    EXPECT_EQ(grid.Cells(5, 5), QStringLiteral("written"));
    EXPECT_EQ(grid.model()->rowCount(), 4602);
    EXPECT_EQ(grid.model()->columnCount(), 16001);
    EXPECT_EQ(grid.model()->headerData(16000, Qt::Horizontal).toString(), QStringLiteral("16001:0"));
    grid.ClearCells();
    EXPECT_EQ(grid.Cells(16001, 4602), QString());
    EXPECT_GE(asked, 1);
}

TEST(StringGrid, SelectionTopAndClickSignal)
{
    TStringGrid grid;
    grid.SetRowSelect(true);
    EXPECT_EQ(grid.SelectionTop(), 0);
    grid.SetRow(3);
    EXPECT_EQ(grid.SelectionTop(), 3);
    int clicks = 0;
    QObject::connect(&grid, &TStringGrid::Clicked, [&] { ++clicks; });
    emit grid.clicked(grid.model()->index(2, 1));
    EXPECT_EQ(clicks, 1);
}

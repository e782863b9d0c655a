#include "app_fixture.h"

#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "orvo_handler.h"

const char kHandGt[] = "1 1 1.0 0 0 10 10\n2 1 1.0 0 0 10 10\n2 2 1.0 100 0 110 10\n";
const char kHandE[] = "1 7 0.9 0 0 10 10\n2 7 0.9 0 0 10 10\n2 9 0.9 200 0 210 10\n";
const char kTenGt[] =
    "1 1 1.0 100 100 300 300\n2 1 1.0 100 100 300 300\n3 1 1.0 100 100 300 300\n4 1 1.0 100 100 300 300\n"
    "5 1 1.0 100 100 300 300\n5 2 1.0 400 50 600 250\n6 1 1.0 100 100 300 300\n7 1 1.0 100 100 300 300\n"
    "8 1 1.0 100 100 300 300\n9 1 1.0 100 100 300 300\n10 1 1.0 100 100 300 300\n";
const char kTenE[] =
    "1 7 0.9 100 100 300 300\n2 7 0.9 100 100 300 300\n3 7 0.9 100 100 300 300\n3 8 0.9 400 300 600 500\n"
    "4 7 0.9 100 100 300 300\n5 7 0.9 100 100 300 300\n6 7 0.9 100 100 300 300\n7 7 0.9 100 100 300 300\n"
    "8 7 0.9 100 100 300 300\n9 7 0.9 100 100 300 300\n10 7 0.9 100 100 300 300\n";

AppTest::AppTest()
{
    ui_.SetFailureHandler([](const QString& why) { ADD_FAILURE() << why.toStdString(); });
    forms_ = std::make_unique<TOrvoApplication>(ui_, QString::fromStdString(dir_.path("history.txt")));
    Main().SetLocale(QLocale::c());
}

AppTest::~AppTest()
{
    EXPECT_EQ(ui_.PendingAnswers(), 0u) << "scripted answers left unused";
    EXPECT_EQ(TakeExceptions(), QStringList()) << "exception boxes no test looked at";
}

bool AppTest::LoadThroughDialog(const char* command, const QString& file, std::optional<QString> type)
{
    ui_.OpenAnswer(file);
    if (type) ui_.TextAnswer(*type);
    bool stayed = false;
    QTimer::singleShot(0, &Add(), [&] {
        Add().findChild<QPushButton*>(QStringLiteral("load_bt"))->click();
        stayed = Add().isVisible();
        if (stayed) Add().findChild<QPushButton*>(QStringLiteral("cancel_bt"))->click();
    });
    Trigger(command);
    return stayed;
}

void AppTest::CancelDialog(const char* command)
{
    QTimer::singleShot(0, &Add(), [&] { Add().findChild<QPushButton*>(QStringLiteral("cancel_bt"))->click(); });
    Trigger(command);
}

void AppTest::Trigger(const char* command)
{
    if (auto* button = Main().findChild<QToolButton*>(QLatin1String(command)))
        button->click();
    else
        Item(command)->trigger();
}

QString AppTest::Row(TStringGrid* grid, int row)
{
    QStringList cells;
    for (int c = 0; c < grid->ColCount(); ++c) cells << grid->Cells(c, row);
    return cells.join(QLatin1Char('|'));
}

QString AppTest::Column(TStringGrid* grid, int col)
{
    QStringList cells;
    for (int r = 0; r < grid->RowCount(); ++r) cells << grid->Cells(col, r);
    return cells.join(QLatin1Char('|'));
}

QStringList AppTest::TakeMessages()
{
    const QStringList all = ui_.Messages();
    const QStringList fresh = all.mid(static_cast<qsizetype>(seen_));
    seen_ = static_cast<size_t>(all.size());
    return fresh;
}

QStringList AppTest::TakeExceptions()
{
    const QStringList all = ui_.Exceptions();
    const QStringList fresh = all.mid(static_cast<qsizetype>(seen_exceptions_));
    seen_exceptions_ = static_cast<size_t>(all.size());
    return fresh;
}

void AppTest::PressEnter(QLineEdit* edit) { QTest::keyClick(edit, Qt::Key_Return); }

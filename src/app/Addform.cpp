#include "Addform.h"

#include <memory>
#include <stdexcept>

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "Mainform.h"
#include "orvo_busy_cursor.h"
#include "orvo_event_add.h"
#include "orvo_event_set.h"
#include "orvo_handler.h"
#include "orvo_numbers_ui.h"
#include "orvo_ui_services.h"

namespace {

QPlainTextEdit* MakeNote(QWidget* parent, const char* name, const QStringList& lines)
{
    auto* memo = new QPlainTextEdit(parent);
    memo->setObjectName(QLatin1String(name));
    memo->setReadOnly(true);
    memo->setFrameShape(QFrame::NoFrame);
    memo->setFocusPolicy(Qt::NoFocus);
    memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memo->viewport()->setAutoFillBackground(false);
    QPalette pal = memo->palette();
    pal.setColor(QPalette::Base, pal.color(QPalette::Window));
    memo->setPalette(pal);
    memo->setPlainText(lines.join(QLatin1Char('\n')));
    return memo;
}

}  // namespace

TAdd_frm::TAdd_frm(TFormMain& main_form, TUiServices& ui, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      main_form_(main_form),
      ui_(ui)
{
    setObjectName(QStringLiteral("Add_frm"));
    setWindowTitle(QStringLiteral("Add objects"));
    setWindowModality(Qt::ApplicationModal);
    QFont f = font();
    f.setPixelSize(11);
    setFont(f);
    setFixedSize(492, 301);

    offset_gb = new QGroupBox(QStringLiteral("Offset of object IDs"), this);
    offset_gb->setObjectName(QStringLiteral("offset_gb"));
    offset_gb->setGeometry(8, 8, 476, 84);
    offset_ed = new QLineEdit(QStringLiteral("0"), offset_gb);
    offset_ed->setObjectName(QStringLiteral("offset_ed"));
    offset_ed->setGeometry(12, 28, 121, 21);
    offset_mm = MakeNote(offset_gb, "offset_mm",
                         {QStringLiteral("When more object sources containing "),
                          QStringLiteral("different objects with same ID are joined, "),
                          QStringLiteral("each objects ID from loaded set might be "),
                          QStringLiteral("increased by the offset. ")});
    offset_mm->setGeometry(160, 16, 308, 62);

    interpolation_gb = new QGroupBox(QStringLiteral("Interpolation"), this);
    interpolation_gb->setObjectName(QStringLiteral("interpolation_gb"));
    interpolation_gb->setGeometry(8, 100, 476, 72);
    interpolate_chb = new QCheckBox(QStringLiteral("Process interpolation"), interpolation_gb);
    interpolate_chb->setObjectName(QStringLiteral("interpolate_chb"));
    interpolate_chb->setGeometry(12, 28, 146, 17);
    interpolation_mm = MakeNote(interpolation_gb, "interpolation_mm",
                                {QStringLiteral("When loading new object source, the "),
                                 QStringLiteral("object parameters might be interpolated to "),
                                 QStringLiteral("each frame.")});
    interpolation_mm->setGeometry(160, 16, 308, 50);

    load_gb = new QGroupBox(QStringLiteral("Load and Add objects"), this);
    load_gb->setObjectName(QStringLiteral("load_gb"));
    load_gb->setGeometry(8, 180, 476, 72);
    load_bt = new QPushButton(QStringLiteral("Load"), load_gb);
    load_bt->setObjectName(QStringLiteral("load_bt"));
    load_bt->setGeometry(12, 26, 75, 25);
    load_bt->setDefault(true);
    load_mm = MakeNote(load_gb, "load_mm",
                       {QStringLiteral("Load data from source file, shift IDs by "),
                        QStringLiteral("offset, interpolate each object separately "),
                        QStringLiteral("and add the set into main set.")});
    load_mm->setGeometry(160, 16, 308, 50);

    cancel_bt = new QPushButton(QStringLiteral("Cancel"), this);
    cancel_bt->setObjectName(QStringLiteral("cancel_bt"));
    cancel_bt->setGeometry(409, 264, 75, 25);
    cancel_bt->setAutoDefault(false);

    ConnectHandler(load_bt, &QPushButton::clicked, this, ui_, [this] { load_btClick(); });
    ConnectHandler(cancel_bt, &QPushButton::clicked, this, ui_, [this] { cancel_btClick(); });
}

int TAdd_frm::ShowModal() { return exec(); }

void TAdd_frm::load_btClick()
{
    QString file;
    int filter_index = 1;
    if (!ui_.OpenFile(file_title, file_filter, &filter_index, &file)) return;
    std::unique_ptr<orvoEventSet, decltype(&orvo_event_set_free)> fresh(orvo_event_set_new(),
                                                                         &orvo_event_set_free);
    if (!fresh) throw std::bad_alloc();
    // Throws when the type is not a number or the file cannot be read: then
    // nothing is merged and the dialog stays open for another try.
    main_form_.LoadEventFile(file, fresh.get(), -1);
    {
        BusyCursor busy;
        const int32_t offset = StrToIntDef(offset_ed->text(), 0);
        orvo_event_set_offset_ids(fresh.get(), offset);
        if (interpolate_chb->isChecked() && InterpolateEventSet(fresh.get()) != 1)
            throw std::runtime_error("\"" + file.toStdString() +
                                     "\": too many boxes to interpolate (an object spans too many "
                                     "frames); nothing was added.");
        main_form_.sequence_name = file;
        if (target_set) orvo_event_set_merge(target_set, fresh.get());
    }
    accept();
}

void TAdd_frm::cancel_btClick() { reject(); }

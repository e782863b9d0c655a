#include "Mainform.h"

#include <memory>
#include <stdexcept>
#include <vector>

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QSlider>
#include <QStatusBar>
#include <QTextBrowser>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "Addform.h"
#include "Historyform.h"
#include "errorgraphs.h"
#include "graphicslistcontrol.h"
#include "imagecontrol.h"
#include "orvo_busy_cursor.h"
#include "orvo_event_set.h"
#include "orvo_events_eval_report.h"
#include "orvo_handler.h"
#include "orvo_numbers_ui.h"
#include "orvo_string_grid.h"
#include "orvo_tool_pictures.h"
#include "orvo_ui_services.h"
#include "overlay.h"
#include "pixcore.h"
#include "zoompanel.h"

namespace {

const QString kSetFilter = QStringLiteral("Text files (*.txt)|*.txt|XML files (*.xml)|*.xml");
const QString kSaveFilter = QStringLiteral("TXT|*.txt|XML|*.xml");

QString Unsigned(int32_t value) { return QString::number(static_cast<uint32_t>(value)); }
QString Signed(int32_t value) { return QString::number(value); }

int FileNamePartStart(const QString& path) { return static_cast<int>(path.lastIndexOf(QLatin1Char('/'))) + 1; }

// Everything before the last dot of the file-name part; the whole name without one.
QString CutExtension(const QString& path)
{
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    return dot >= FileNamePartStart(path) ? path.left(dot) : path;
}

// Result files always get ".txt" in place of the extension typed.
QString ResultFileName(const QString& path) { return CutExtension(path) + QStringLiteral(".txt"); }

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, int x, int y)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->adjustSize();
    label->move(x, y);
    return label;
}

TStringGrid* MakeGrid(QWidget* parent, const char* name, int x, int y, int w, int h)
{
    auto* grid = new TStringGrid(parent);
    grid->setObjectName(QLatin1String(name));
    grid->setGeometry(x, y, w, h);
    return grid;
}

struct FrameMatrixView {
  orvoIdMatrix fmeasure;
};

}  // namespace

// What IDmap_sg shows, read for every cell it paints. Right after an
// evaluation it reads the context's own results; before the context is
// re-initialised, which discards them, they are moved here, so the table
// keeps showing the last evaluation without copying a map of millions of cells.
struct TIdMapView {
  const orvoEventsEval* live = nullptr;
  orvoIdMatrix map;
  std::vector<float> e_purity, gt_purity, gt_fmeasure;

  const orvoIdMatrix& Map() const { return live ? live->id_map : map; }
  const std::vector<float>& EPurity() const { return live ? live->e_purity : e_purity; }
  const std::vector<float>& GtPurity() const { return live ? live->gt_purity : gt_purity; }
  const std::vector<float>& GtFmeasure() const { return live ? live->gt_fmeasure : gt_fmeasure; }
};

TFormMain::TFormMain(TUiServices& ui, QWidget* parent)
    : QMainWindow(parent), ui_(ui), locale_(TableLocale(QLocale::system()))
{
    setObjectName(QStringLiteral("FormMain"));
    QFont f = font();
    f.setPixelSize(11);
    setFont(f);
    move(236, 70);

    BuildMenu();
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("ClientArea"));
    client->setFixedSize(823, 647);
    setCentralWidget(client);
    BuildToolBar(client);
    BuildControls(client);

    statusBar()->setObjectName(QStringLiteral("StatusBar"));
    statusBar()->setSizeGripEnabled(false);
    statusBar()->setFixedHeight(18);
    StatusText_lbl = new QLabel(statusBar());
    StatusText_lbl->setObjectName(QStringLiteral("StatusText"));
    statusBar()->addWidget(StatusText_lbl, 1);

    // 1.
    setWindowTitle(QStringLiteral("Orvo Tracking Evalutor") + QStringLiteral(" 1.3"));
    // 2.
    params_changed = false;
    video_open = false;
    evaluated = false;
    last_brief_file.clear();
    sequence_name.clear();
    // 3.
    mm_eval_savebrief_last->setEnabled(false);
    mm_eval_saveresult->setEnabled(false);
    mm_eval_savebrief->menuAction()->setEnabled(false);
    mm_eval_sequence->setEnabled(false);
    evaluate_tb->setEnabled(false);
    // 4.
    EvalContext = orvo_events_eval_new();
    if (!EvalContext) throw std::bad_alloc();
    orvo_events_eval_init(EvalContext, 0.0f, 0.0f, nullptr, 0);
    // 5.
    InitObjectGrid(sg_objects_data_gt);
    InitObjectGrid(sg_objects_data_e);
    InitSequenceErrorsGrid();
    InitFrameErrorsGrid();
    // 6.
    InitGraphCursor();
    // 7, 8.
    InitVideoImage();

    adjustSize();
}

// A window destroyed without being closed still releases what it owns; after
// a close this finds nothing left.
TFormMain::~TFormMain() { FormClose(); }

QAction* TFormMain::AddItem(QMenu* menu, const char* name, const QString& caption,
                            void (TFormMain::*handler)())
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    if (handler) Bind(action, &QAction::triggered, handler);
    return action;
}

void TFormMain::BuildMenu()
{
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MenuMain"));

    mm_GT = bar->addMenu(QStringLiteral("&Ground Truth"));
    mm_GT->setObjectName(QStringLiteral("mm_GT"));
    mm_GT_Load = AddItem(mm_GT, "mm_GT_Load", QStringLiteral("&Load to Set"), &TFormMain::mm_GT_LoadClick);
    mm_GT_Load->setIcon(ToolIcon(0));
    mm_GT_Add = AddItem(mm_GT, "mm_GT_Add", QStringLiteral("&Add to Set"), &TFormMain::mm_GT_AddClick);
    mm_GT_Save = AddItem(mm_GT, "mm_GT_Save", QStringLiteral("&Save as ..."), &TFormMain::mm_GT_SaveClick);
    mm_GT_Reset = AddItem(mm_GT, "mm_GT_Reset", QStringLiteral("&Reset "), &TFormMain::mm_GT_ResetClick);
    mm_GT->addSeparator()->setObjectName(QStringLiteral("mm_File_N1"));
    mm_GT_Exit = AddItem(mm_GT, "mm_GT_Exit", QStringLiteral("&Exit"), &TFormMain::mm_GT_ExitClick);

    mm_E = bar->addMenu(QStringLiteral("&Estimation"));
    mm_E->setObjectName(QStringLiteral("mm_E"));
    mm_E_Load = AddItem(mm_E, "mm_E_Load", QStringLiteral("&Load to Set"), &TFormMain::mm_E_LoadClick);
    mm_E_Load->setIcon(ToolIcon(1));
    mm_E_Add = AddItem(mm_E, "mm_E_Add", QStringLiteral("&Add to Set"), &TFormMain::mm_E_AddClick);
    mm_E_Save = AddItem(mm_E, "mm_E_Save", QStringLiteral("&Save as ..."), &TFormMain::mm_E_SaveClick);
    mm_E_Reset = AddItem(mm_E, "mm_E_Reset", QStringLiteral("&Reset"), &TFormMain::mm_E_ResetClick);
    mm_E->addSeparator()->setObjectName(QStringLiteral("mm_E_N"));
    mm_E_Exit = AddItem(mm_E, "mm_E_Exit", QStringLiteral("&Exit"), &TFormMain::mm_GT_ExitClick);

    mm_Video = bar->addMenu(QStringLiteral("&Video"));
    mm_Video->setObjectName(QStringLiteral("mm_Video"));
    mm_VideoOpen = AddItem(mm_Video, "mm_VideoOpen", QStringLiteral("&Open"), &TFormMain::mm_VideoOpenClick);
    mm_VideoClose = AddItem(mm_Video, "mm_VideoClose", QStringLiteral("&Close"), &TFormMain::mm_VideoCloseClick);

    mm_Evaluate = bar->addMenu(QStringLiteral("E&valuation"));
    mm_Evaluate->setObjectName(QStringLiteral("mm_Evaluate"));
    mm_eval_sequence = AddItem(mm_Evaluate, "mm_eval_sequence", QStringLiteral("&Sequence"),
                               &TFormMain::btn_eval_setClick);
    mm_eval_sequence->setIcon(ToolIcon(2));
    mm_Evaluate->addSeparator()->setObjectName(QStringLiteral("N1"));
    mm_eval_saveresult = AddItem(mm_Evaluate, "mm_eval_saveresult", QStringLiteral("Save &result"),
                                 &TFormMain::mm_eval_saveresultClick);
    mm_eval_savebrief = mm_Evaluate->addMenu(QStringLiteral("Save brief result"));
    mm_eval_savebrief->setObjectName(QStringLiteral("mm_eval_savebrief"));
    mm_eval_savebrief_select = AddItem(mm_eval_savebrief, "mm_eval_savebrief_select", QStringLiteral("Select file"),
                                       &TFormMain::mm_eval_savebrief_selectClick);
    mm_eval_savebrief_last = AddItem(mm_eval_savebrief, "mm_eval_savebrief_last", QStringLiteral("Last selected file"),
                                     &TFormMain::mm_eval_savebrief_lastClick);

    mm_Help = bar->addMenu(QStringLiteral("&Help"));
    mm_Help->setObjectName(QStringLiteral("mm_Help"));
    mm_help_evaluator = AddItem(mm_Help, "mm_help_evaluator", QStringLiteral("&Evaluator Help"),
                                &TFormMain::mm_help_evaluatorClick);
    mm_help_history = AddItem(mm_Help, "mm_help_history", QStringLiteral("&History"),
                              &TFormMain::mm_help_historyClick);
}

void TFormMain::BuildToolBar(QWidget* client)
{
    MainToolBar = new QToolBar(client);
    MainToolBar->setObjectName(QStringLiteral("MainToolBar"));
    MainToolBar->setGeometry(0, 0, 823, 29);
    MainToolBar->setMovable(false);
    MainToolBar->setFloatable(false);
    MainToolBar->setIconSize(QSize(16, 16));

    auto button = [&](const char* name, int picture, const QString& hint, void (TFormMain::*handler)()) {
        auto* b = new QToolButton(MainToolBar);
        b->setObjectName(QLatin1String(name));
        b->setIcon(ToolIcon(picture));
        b->setToolTip(hint);
        b->setAutoRaise(true);
        b->setFixedSize(25, 25);
        b->setToolButtonStyle(Qt::ToolButtonIconOnly);
        Bind(b, &QToolButton::clicked, handler);
        MainToolBar->addWidget(b);
        return b;
    };
    ToolBtn_Open_Annotation = button("ToolBtn_Open_Annotation", 0, QStringLiteral("Load events to Ground Truth set."),
                                     &TFormMain::mm_GT_LoadClick);
    ToolBtn_Open_Tracking = button("ToolBtn_Open_Tracking", 1, QStringLiteral("Load events to Estimation set."),
                                   &TFormMain::mm_E_LoadClick);
    ToolButton1 = new QWidget(MainToolBar);
    ToolButton1->setObjectName(QStringLiteral("ToolButton1"));
    ToolButton1->setFixedWidth(8);
    MainToolBar->addWidget(ToolButton1);
    evaluate_tb = button("evaluate_tb", 2, QStringLiteral("Evaluate sequence."), &TFormMain::btn_eval_setClick);
    evaluate_tb->setText(QStringLiteral("Evaluate set"));
}

void TFormMain::BuildControls(QWidget* client)
{
    gb_objects = new QGroupBox(QStringLiteral("Ground Truth and Estimated data"), client);
    gb_objects->setObjectName(QStringLiteral("gb_objects"));
    gb_objects->setGeometry(8, 32, 473, 198);
    lbl__frame_act = MakeLabel(gb_objects, "lbl__frame_act", QStringLiteral("Frame 0 / 0"), 6, 17);
    lbl__frame_act->setFixedWidth(104);
    tb_frame = new QSlider(Qt::Horizontal, gb_objects);
    tb_frame->setObjectName(QStringLiteral("tb_frame"));
    tb_frame->setGeometry(112, 16, 356, 25);
    tb_frame->setRange(0, 0);
    tb_frame->setValue(0);
    tb_frame->setTickInterval(1);
    tb_frame->setTickPosition(QSlider::TicksBelow);
    Bind(tb_frame, &QSlider::valueChanged, &TFormMain::DisplayFrameInfo);
    lbl_objects_gt = MakeLabel(gb_objects, "lbl_objects_gt", QStringLiteral("Ground Truth Objects"), 8, 40);
    lbl_objects_e = MakeLabel(gb_objects, "lbl_objects_e", QStringLiteral("Estimated Objects"), 242, 40);
    sg_objects_data_gt = MakeGrid(gb_objects, "sg_objects_data_gt", 4, 56, 229, 137);
    sg_objects_data_e = MakeGrid(gb_objects, "sg_objects_data_e", 237, 56, 229, 137);
    for (TStringGrid* g : {sg_objects_data_gt, sg_objects_data_e}) {
        g->SetColCount(6);
        g->SetFixedCols(0);
        g->SetDefaultColWidth(37);
        g->SetDefaultRowHeight(15);
        g->SetRowSelect(true);
    }
    Bind(sg_objects_data_gt, &TStringGrid::Clicked, &TFormMain::sg_objects_data_gtClick);
    Bind(sg_objects_data_e, &TStringGrid::Clicked, &TFormMain::sg_objects_data_eClick);

    lbl_types = MakeLabel(client, "lbl_types", QStringLiteral("Event types"), 486, 32);
    lb_types = new QListWidget(client);
    lb_types->setObjectName(QStringLiteral("lb_types"));
    lb_types->setGeometry(486, 48, 67, 89);
    QFont arial(QStringLiteral("Arial"));
    arial.setPixelSize(11);
    lb_types->setFont(arial);
    lb_types->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lb_types->setSortingEnabled(true);
    Bind(lb_types, &QListWidget::itemSelectionChanged, &TFormMain::lb_typesClick);

    auto edit = [&](const char* name, const char* label_name, const QString& label, int y) {
        auto* e = new QLineEdit(client);
        e->setObjectName(QLatin1String(name));
        e->setGeometry(486, y, 67, 21);
        QLabel* l = MakeLabel(client, label_name, label, 486, 0);
        l->move(486, y - l->height() - 3);
        l->setBuddy(e);
        e->installEventFilter(this);
        return e;
    };
    lbl_ed_thresh_C = edit("lbl_ed_thresh_C", "lbl_ed_thresh_C_EditLabel", QStringLiteral("Coverage th."), 160);
    lbl_ed_thresh_occlusion =
        edit("lbl_ed_thresh_occlusion", "lbl_ed_thresh_occlusion_EditLabel", QStringLiteral("Occlusion th."), 200);
    lbl_ed_thresh_C->setText(DefaultCoverageText());
    lbl_ed_thresh_occlusion->setText(DefaultOcclusionText());
    Bind(lbl_ed_thresh_C, &QLineEdit::textChanged, &TFormMain::lbl_ed_thresh_CChange);
    Bind(lbl_ed_thresh_occlusion, &QLineEdit::textChanged, &TFormMain::lbl_ed_thresh_CChange);

    frame_errors_lbl = MakeLabel(client, "frame_errors_lbl", QStringLiteral("Frame errors"), 566, 32);
    frame_errors_sg = MakeGrid(client, "frame_errors_sg", 560, 48, 120, 181);
    lbl_results = MakeLabel(client, "lbl_results", QStringLiteral("Sequence errors"), 694, 32);
    errout_sg = MakeGrid(client, "errout_sg", 688, 48, 120, 181);
    for (TStringGrid* g : {frame_errors_sg, errout_sg}) {
        g->SetDefaultColWidth(35);
        g->SetDefaultRowHeight(14);
        g->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        g->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        g->setFocusPolicy(Qt::NoFocus);
    }

    Fmeas_lbl = MakeLabel(client, "Fmeas_lbl", QStringLiteral("F-measurement (intersections)"), 6, 240);
    Fmeas_sg = MakeGrid(client, "Fmeas_sg", 5, 254, 196, 251);
    IDmap_lbl = MakeLabel(client, "IDmap_lbl", QStringLiteral("Identification Map, OP and TP, F-measures"), 206, 240);
    IDmap_sg = MakeGrid(client, "IDmap_sg", 208, 254, 273, 251);
    for (TStringGrid* g : {Fmeas_sg, IDmap_sg}) {
        g->SetColCount(1);
        g->SetRowCount(1);
        g->SetDefaultColWidth(g == Fmeas_sg ? 40 : 50);
        g->SetDefaultRowHeight(16);
        QFont small = g->font();
        small.setPixelSize(9);
        g->setFont(small);
        g->SetRowSelect(true);
        g->setFocusPolicy(Qt::NoFocus);
    }

    vid_gb = new QGroupBox(QStringLiteral("Video stream"), client);
    vid_gb->setObjectName(QStringLiteral("vid_gb"));
    vid_gb->setGeometry(486, 233, 323, 272);
    BuildVideoView();
    graph_gb = new QGroupBox(QStringLiteral("Graphs of errors"), client);
    graph_gb->setObjectName(QStringLiteral("graph_gb"));
    graph_gb->setGeometry(8, 512, 801, 126);

    graphs_ = std::make_unique<TErrorGraphs>(graph_gb);
    void (TFormMain::*const label_clicks[])() = {
        &TFormMain::graphFP_lbClick, &TFormMain::graphFN_lbClick,  &TFormMain::graphMO_lbClick,
        &TFormMain::graphMT_lbClick, &TFormMain::graphCD_lbClick,  &TFormMain::graphFIT_lbClick,
        &TFormMain::graphFIO_lbClick};
    for (int c = 0; c < TErrorGraphs::CurveCount; ++c)
        Bind(graphs_->Label(static_cast<TErrorGraphs::TCurve>(c)), &TClickLabel::clicked, label_clicks[c]);
    TGraphicsListControl* glc = graphs_->Cursor();
    connect(glc, &TGraphicsListControl::mousePressed, this,
            [this](Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y) {
                RunHandler(ui_, [=, this] {
                    if (EvalContext) graph_glcMouseDown(button, shift, x, y);
                });
            });
    connect(glc, &TGraphicsListControl::mouseMoved, this,
            [this](Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, int x, int y) {
                RunHandler(ui_, [=, this] {
                    if (EvalContext) graph_glcMouseMove(buttons, shift, x, y);
                });
            });
}

void TFormMain::BuildVideoView()
{
    vid_zp = new TZoomPanel(vid_gb);
    vid_zp->setObjectName(QStringLiteral("vid_zp"));
    vid_zp->setGeometry(1, 15, 320, 255);
    vid_zp->setProperty("ScaleButton", QVariant::fromValue(Qt::RightButton));
    vid_zp->SetMinScale(1);
    vid_zp->SetMaxScale(10);
    vid_zp->setProperty("ScaleSpeed", 2.0f);

    vid_ic = new TImageControl(vid_zp);
    vid_ic->setObjectName(QStringLiteral("vid_ic"));
    vid_ic->setGeometry(0, 0, 320, 255);
    vid_ic->SetAllocImage(TImageControl::AllocNoImage);
    vid_ic->SetMax(255);
    vid_ic->SetXSize(256);
    vid_ic->SetYSize(256);
    vid_ic->SetXScale(1.25f);
    vid_ic->SetYScale(0.99609375f);

    // Over the picture, at the same place and size.
    vid_glc = new TGraphicsListControl(vid_zp);
    vid_glc->setObjectName(QStringLiteral("vid_glc"));
    vid_glc->setGeometry(0, 0, 320, 255);
    vid_glc->SetAllocSize(64);
    vid_glc->SetXScale(1.25f);
    vid_glc->SetYScale(0.99609375f);
    vid_glc->SetTransparent(true);

    vid_zp->SetClientRatio(-1);
    vid_zp->SetAutoMouse(true);
}

// ---------------------------------------------------------------- state

QString TFormMain::DefaultCoverageText() const
{
    return QStringLiteral("0") + locale_.decimalPoint() + QStringLiteral("33");
}

QString TFormMain::DefaultOcclusionText() const
{
    return QStringLiteral("0") + locale_.decimalPoint() + QStringLiteral("1");
}

void TFormMain::SetLocale(const QLocale& locale)
{
    if (TableLocale(locale) == locale_) return;
    const QString old_c = DefaultCoverageText(), old_o = DefaultOcclusionText();
    locale_ = TableLocale(locale);
    const bool changed = params_changed;
    if (lbl_ed_thresh_C->text() == old_c) lbl_ed_thresh_C->setText(DefaultCoverageText());
    if (lbl_ed_thresh_occlusion->text() == old_o) lbl_ed_thresh_occlusion->setText(DefaultOcclusionText());
    params_changed = changed;
}

QString TFormMain::StatusText() const { return StatusText_lbl->text(); }

void TFormMain::SetStatusText(const QString& text) { StatusText_lbl->setText(text); }

void TFormMain::RepaintStatus() { StatusText_lbl->repaint(); }

void TFormMain::SetResultSavingEnabled(bool on)
{
    mm_eval_saveresult->setEnabled(on);
    mm_eval_savebrief->menuAction()->setEnabled(on);
}

void TFormMain::DropResults()
{
    evaluated = false;
    SetResultSavingEnabled(false);
    DetachIdMap();
    orvo_events_eval_init(EvalContext, EvalContext->coverage_threshold, EvalContext->occlusion_threshold,
                          EvalContext->types.empty() ? nullptr : EvalContext->types.data(),
                          EvalContext->type_count());
}

// ---------------------------------------------------------------- set commands

void TFormMain::LoadEventFile(const QString& file_name, orvoEventSet* set, int type)
{
    const std::string path = file_name.toStdString();
    if (!orvo_event_set_is_xml_name(path) && type < 0) {
        QString answer = QStringLiteral("0");
        if (!ui_.InputQuery(QStringLiteral("Event type"), QStringLiteral("Set the type of loaded events [integer value]."),
                            &answer))
            answer = QStringLiteral("0");
        set->default_type = StrToInt(answer);
    } else {
        set->default_type = type;
    }
    SetStatusText(QStringLiteral("Loading data ..."));
    RepaintStatus();
    BusyCursor busy;
    std::string why;
    if (orvo_event_set_load(set, path, &why) != 1) throw std::runtime_error(why);
}

void TFormMain::RunSetCommand(orvoEventSet* target, bool load, bool gt, const QString& caption,
                              const QString& title, const QString& done_text)
{
    // The frame records point into the sets: they go before a set changes.
    DropResults();
    if (load) orvo_event_set_reset(target, 0);
    SetResultSavingEnabled(false);
    if (Add_frm) {
        Add_frm->setWindowTitle(caption);
        Add_frm->file_title = title;
        Add_frm->file_filter = kSetFilter;
        Add_frm->target_set = target;
        Add_frm->ShowModal();
    }
    {
        BusyCursor busy;
        DropResults();
        ApplyEvalParams();
    }
    if (gt) {
        FillTypeList();
        SetFrameRange(&EvalContext->gt);
        ResetErrorGraphs();
    }
    ShowFrame(EvalContext, tb_frame->value());
    SetStatusText(done_text);
    FinishSetCommand();
}

void TFormMain::FinishSetCommand()
{
    const bool both = EvalContext->gt.frame_count() != 0 && EvalContext->e.frame_count() != 0;
    mm_eval_sequence->setEnabled(both);
    evaluate_tb->setEnabled(both);
    evaluated = false;
}

void TFormMain::mm_GT_LoadClick()
{
    RunSetCommand(&EvalContext->gt, true, true, QStringLiteral("Load Ground Truth Events"),
                  QStringLiteral("File with Ground Truth Events"),
                  QStringLiteral("Ground Truth data from file was loaded to the GT set."));
}

void TFormMain::mm_GT_AddClick()
{
    RunSetCommand(&EvalContext->gt, false, true, QStringLiteral("Add Ground Truth Events"),
                  QStringLiteral("File with Ground Truth Events"),
                  QStringLiteral("Ground Truth data from file was added to the GT set."));
}

void TFormMain::mm_E_LoadClick()
{
    RunSetCommand(&EvalContext->e, true, false, QStringLiteral("Load Estimate Events"),
                  QStringLiteral("File with Estimate Events"),
                  QStringLiteral("Estimation data from file was added to the E set."));
}

void TFormMain::mm_E_AddClick()
{
    RunSetCommand(&EvalContext->e, false, false, QStringLiteral("Add Estimate Events"),
                  QStringLiteral("File with Estimate Events"),
                  QStringLiteral("Estimation data from file was added to the E set."));
}

void TFormMain::RunResetCommand(orvoEventSet* target, bool gt, const QString& done_text)
{
    {
        BusyCursor busy;
        orvo_event_set_reset(target, 0);
        SetResultSavingEnabled(false);
        DropResults();
    }
    if (gt) {
        FillTypeList();
        ApplyEvalParams();
        SetFrameRange(&EvalContext->gt);
        ResetErrorGraphs();
    } else {
        ApplyEvalParams();
    }
    ShowFrame(EvalContext, tb_frame->value());
    SetStatusText(done_text);
    FinishSetCommand();
}

void TFormMain::mm_GT_ResetClick()
{
    RunResetCommand(&EvalContext->gt, true, QStringLiteral("Ground Truth set was reset."));
}

void TFormMain::mm_E_ResetClick()
{
    RunResetCommand(&EvalContext->e, false, QStringLiteral("Estimation set was reset."));
}

void TFormMain::SaveSet(const orvoEventSet* set, const QString& title, const QString& what)
{
    QString file;
    int filter_index = 1;
    if (!ui_.SaveFile(title, kSaveFilter, &filter_index, &file)) return;
    const QString base = CutExtension(file);
    const int result = orvo_event_set_save(set, base.toStdString(), filter_index);
    if (result >= 1)
        SetStatusText(what + QStringLiteral(" set was saved into file ") + base + QStringLiteral("."));
    else
        SetStatusText(what + QStringLiteral(" set failed to save."));
}

void TFormMain::mm_GT_SaveClick()
{
    SaveSet(&EvalContext->gt, QStringLiteral("Save Ground Truth set into file."), QStringLiteral("Ground Truth"));
}

void TFormMain::mm_E_SaveClick()
{
    SaveSet(&EvalContext->e, QStringLiteral("Save Estimation set into file."), QStringLiteral("Estimation"));
}

void TFormMain::mm_GT_ExitClick() { close(); }

void TFormMain::lb_typesClick()
{
    // The re-initialisation discards the results, so the window says so.
    evaluated = false;
    SetResultSavingEnabled(false);
    ApplyEvalParams();
    DisplayFrameInfo();
}

void TFormMain::ApplyEvalParams()
{
    std::vector<int32_t> types;
    for (int i = 0; i < lb_types->count(); ++i)
        if (lb_types->item(i)->isSelected()) types.push_back(StrToType(lb_types->item(i)->text()));
    const float occlusion = StrToFloat(locale_, lbl_ed_thresh_occlusion->text());
    const float coverage = StrToFloat(locale_, lbl_ed_thresh_C->text());
    DetachIdMap();
    orvo_events_eval_init(EvalContext, coverage, occlusion, types.empty() ? nullptr : types.data(),
                          static_cast<uint32_t>(types.size()));
    params_changed = false;
}

void TFormMain::FillTypeList()
{
    const QSignalBlocker quiet(lb_types);
    lb_types->clear();
    for (int32_t type : EvalContext->gt.types) {
        auto* item = new QListWidgetItem(Unsigned(type));
        item->setSizeHint(QSize(0, 14));
        lb_types->addItem(item);
    }
    lb_types->selectAll();
}

void TFormMain::SetFrameRange(const orvoEventSet* set)
{
    if (orvo_event_set_is_empty(set)) {
        tb_frame->setMaximum(0);
        tb_frame->setTickInterval(1);
    } else {
        tb_frame->setMaximum(static_cast<int>(set->frame_count() - 1));
        tb_frame->setTickInterval(static_cast<int>(set->frame_count() / 50));
    }
    tb_frame->setValue(0);
}

// ---------------------------------------------------------------- evaluation

void TFormMain::btn_eval_setClick()
{
    ApplyEvalParams();
    SetStatusText(QStringLiteral("Evaluating the sequence ..."));
    RepaintStatus();
    {
        BusyCursor busy;
        orvo_events_eval_process(EvalContext);
        evaluated = true;
        FillSequenceErrors();
        FillIdentificationMap();
        if (!orvo_event_set_is_empty(&EvalContext->gt)) {
            ResetErrorGraphs();
            FillErrorGraphs();
        }
    }
    SetResultSavingEnabled(true);
    SetStatusText(QStringLiteral("Sequence Evaluation done."));
}

void TFormMain::InitSequenceErrorsGrid()
{
    errout_sg->SetColCount(3);
    errout_sg->SetRowCount(11);
    errout_sg->SetFixedCols(1);
    errout_sg->SetFixedRows(1);
    const char* headers[] = {"Errs", "sum", "norm"};
    const int widths[] = {25, 35, 60};
    for (int c = 0; c < 3; ++c) {
        errout_sg->SetCells(c, 0, QLatin1String(headers[c]));
        errout_sg->SetColWidths(c, widths[c]);
    }
    const char* labels[] = {"FN", "FP", "MO", "MT", "CD", "FIT", "FIO", "TP", "OP", "QM"};
    for (int r = 1; r <= 10; ++r) {
        errout_sg->SetCells(0, r, QLatin1String(labels[r - 1]));
        errout_sg->SetCells(1, r, QString());
        errout_sg->SetCells(2, r, QString());
    }
}

void TFormMain::FillSequenceErrors()
{
    const orvoEventsEval& c = *EvalContext;
    const int32_t sums[] = {c.fn, c.fp, c.mo, c.mt, c.cd, c.fit, c.fio};
    const float norms[] = {c.fnbar, c.fpbar, c.mobar, c.mtbar, c.cdbar, c.fitbar, c.fiobar, c.tpbar, c.opbar, c.fmeasure};
    for (int r = 1; r <= 10; ++r) {
        errout_sg->SetCells(1, r, r <= 7 ? Signed(sums[r - 1]) : QString());
        errout_sg->SetCells(2, r, FormatFloat(locale_, norms[r - 1], 6));
    }
}

void TFormMain::DetachIdMap()
{
    if (!id_map_view_ || !id_map_view_->live || !EvalContext) return;
    TIdMapView& view = *id_map_view_;
    view.map = std::move(EvalContext->id_map);
    view.e_purity = std::move(EvalContext->e_purity);
    view.gt_purity = std::move(EvalContext->gt_purity);
    view.gt_fmeasure = std::move(EvalContext->gt_fmeasure);
    view.live = nullptr;
}

void TFormMain::FillIdentificationMap()
{
    auto view = std::make_shared<TIdMapView>();
    view->live = EvalContext;
    id_map_view_ = view;
    const int g = static_cast<int>(view->Map().gt_count());
    const int n = static_cast<int>(view->Map().e_count());
    IDmap_sg->SetColCount(g + 2);
    IDmap_sg->SetFixedCols(1);
    IDmap_sg->SetRowCount(n + 3);
    IDmap_sg->SetFixedRows(1);
    const QLocale locale = locale_;
    IDmap_sg->SetCellProvider([view, g, n, locale](int col, int row) -> QString {
        const auto real = [&](const std::vector<float>& v, int i, int decimals) {
            return i >= 0 && static_cast<size_t>(i) < v.size() ? FormatFloat(locale, v[static_cast<size_t>(i)], decimals)
                                                               : QString();
        };
        const orvoIdMatrix& map = view->Map();
        if (map.gt_count() != static_cast<uint32_t>(g) || map.e_count() != static_cast<uint32_t>(n)) return {};
        if (row == 0) {
            if (col >= 1 && col <= g) return Signed(map.gt_ids[static_cast<size_t>(col - 1)]);
            if (col == g + 1) return QStringLiteral("TP");
            return {};
        }
        if (col == 0) {
            if (row <= n) return Signed(map.e_ids[static_cast<size_t>(row - 1)]);
            if (row == n + 1) return QStringLiteral("OP");
            if (row == n + 2) return QStringLiteral("F-meas.");
            return {};
        }
        if (row <= n) {
            if (col <= g) {
                if (map.cells.size() != static_cast<size_t>(g) * static_cast<size_t>(n)) return {};
                return FormatFloat(locale, map.at(static_cast<uint32_t>(row - 1), static_cast<uint32_t>(col - 1)), 0);
            }
            return real(view->EPurity(), row - 1, 5);
        }
        if (col > g) return {};
        if (row == n + 1) return real(view->GtPurity(), col - 1, 5);
        return real(view->GtFmeasure(), col - 1, 5);
    });
}

void TFormMain::lbl_ed_thresh_CChange() { params_changed = true; }

void TFormMain::lbl_ed_thresh_CKeyDown(int key)
{
    if (key == Qt::Key_Return || key == Qt::Key_Enter) DisplayFrameInfo();
}

bool TFormMain::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == lbl_ed_thresh_C || watched == lbl_ed_thresh_occlusion) {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            RunHandler(ui_, [this, key] {
                if (EvalContext) lbl_ed_thresh_CKeyDown(key);
            });
        } else if (event->type() == QEvent::FocusOut) {
            // Leaving the edit for another control of the window, not for a
            // menu, a dialog or another window.
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
                reason != Qt::MenuBarFocusReason)
                RunHandler(ui_, [this] {
                    if (EvalContext) DisplayFrameInfo();
                });
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

// ---------------------------------------------------------------- frame browser

void TFormMain::SetFrameLabel()
{
    const orvoEventSet& gt = EvalContext->gt;
    if (orvo_event_set_is_empty(&gt) || gt.frames.empty()) {
        lbl__frame_act->setText(QStringLiteral("Frame 0 / 0"));
        return;
    }
    // The track bar and the context follow the GT frame list after every
    // completed set command; the bounds only guard a command that stopped.
    const size_t count = gt.frames.size();
    const size_t position = std::min(static_cast<size_t>(std::max(tb_frame->value(), 0)), count - 1);
    size_t last = EvalContext->frame_count() > 0 ? EvalContext->frame_count() - 1 : count - 1;
    if (last >= count) last = count - 1;
    lbl__frame_act->setText(QStringLiteral("Frame %1 / %2").arg(Unsigned(gt.frames[position]), Unsigned(gt.frames[last])));
}

void TFormMain::DisplayFrameInfo()
{
    const QString error = QStringLiteral("Error");
    if (orvo_event_set_is_empty(&EvalContext->gt)) {
        lbl__frame_act->setText(QStringLiteral("Frame 0 / 0"));
        ui_.ShowMessage(error, QStringLiteral("No data in GT set. Load them first."));
        return;
    }
    SetFrameLabel();
    if (orvo_event_set_is_empty(&EvalContext->e))
        ui_.ShowMessage(error, QStringLiteral("No data in E set. Load them first."));
    else if (params_changed)
        ui_.ShowMessage(error, QStringLiteral("Evaluation parameters have changed. Evaluate the sequence again."));
    else if (evaluated)
        ShowFrame(EvalContext, tb_frame->value());
    else
        ui_.ShowMessage(error, QStringLiteral("Evaluate the sequence first."));
}

void TFormMain::ShowFrame(orvoEventsEval* context, int index)
{
    if (!context || index < 0 || static_cast<uint32_t>(index) >= context->frame_count()) {
        ClearFrameView();
        return;
    }
    const orvoFrameEval& record = context->frames[static_cast<size_t>(index)];
    SetFrameLabel();
    FillObjectGrid(sg_objects_data_gt, &record.gt);
    FillObjectGrid(sg_objects_data_e, &record.e);
    DrawFrameBoxes(&record);
    FillFmeasureTable(record);
    FillFrameErrors(record);
    ShowVideoFrame(&record);
    UpdateErrorGraphs(index);
    SetStatusText(QStringLiteral("Frame Evaluation done."));
}

void TFormMain::ClearFrameView()
{
    FillObjectGrid(sg_objects_data_gt, nullptr);
    FillObjectGrid(sg_objects_data_e, nullptr);
    DrawFrameBoxes(nullptr);
    for (TStringGrid* g : {IDmap_sg, Fmeas_sg}) {
        g->SetColCount(1);
        g->SetRowCount(1);
        g->ClearCells();
    }
    id_map_view_.reset();
    ResetErrorGraphs();
}

void TFormMain::InitObjectGrid(TStringGrid* grid)
{
    grid->SetFixedRows(1);
    const char* headers[] = {"ID", "Type", "x0", "y0", "x1", "y2"};
    const int widths[] = {20, 20, 33, 33, 33, 33};
    for (int c = 0; c < 6; ++c) {
        grid->SetCells(c, 0, QLatin1String(headers[c]));
        grid->SetColWidths(c, widths[c]);
    }
}

void TFormMain::FillObjectGrid(TStringGrid* grid, const orvoEventSelection* selection)
{
    const int n = selection ? static_cast<int>(selection->count()) : 0;
    grid->SetRowCount(n + 1);
    if (n > 0) grid->SetFixedRows(1);
    for (int i = 0; i < n; ++i) {
        const _orvoEvent& e = *selection->events[static_cast<size_t>(i)];
        grid->SetCells(0, i + 1, Unsigned(e.id));
        grid->SetCells(1, i + 1, Unsigned(e.type));
        grid->SetCells(2, i + 1, Signed(e.x0));
        grid->SetCells(3, i + 1, Signed(e.y0));
        grid->SetCells(4, i + 1, Signed(e.x1));
        grid->SetCells(5, i + 1, Signed(e.y1));
    }
}

void TFormMain::FillFmeasureTable(const orvoFrameEval& record)
{
    auto view = std::make_shared<FrameMatrixView>();
    view->fmeasure = record.fmeasure;
    const int gt_boxes = static_cast<int>(record.gt.count());
    const int e_boxes = static_cast<int>(record.e.count());
    std::vector<int32_t> gt_ids, e_ids;
    for (const _orvoEvent* e : record.gt.events) gt_ids.push_back(e->id);
    for (const _orvoEvent* e : record.e.events) e_ids.push_back(e->id);
    Fmeas_sg->SetColCount(gt_boxes + 1);
    if (gt_boxes > 0) Fmeas_sg->SetFixedCols(1);
    Fmeas_sg->SetRowCount(e_boxes + 1);
    if (e_boxes > 0) Fmeas_sg->SetFixedRows(1);
    const QLocale locale = locale_;
    Fmeas_sg->SetCellProvider([view, gt_ids, e_ids, locale](int col, int row) -> QString {
        const size_t gt_box = static_cast<size_t>(col - 1), e_box = static_cast<size_t>(row - 1);
        if (row == 0) return col >= 1 && gt_box < gt_ids.size() ? Signed(gt_ids[gt_box]) : QString();
        if (col == 0) return e_box < e_ids.size() ? Signed(e_ids[e_box]) : QString();
        const orvoIdMatrix& m = view->fmeasure;
        if (static_cast<uint32_t>(row - 1) >= m.e_count() || static_cast<uint32_t>(col - 1) >= m.gt_count()) return {};
        return FormatFloat(locale, m.at(static_cast<uint32_t>(row - 1), static_cast<uint32_t>(col - 1)), 4);
    });
}

void TFormMain::InitFrameErrorsGrid()
{
    frame_errors_sg->SetColCount(3);
    frame_errors_sg->SetRowCount(8);
    frame_errors_sg->SetFixedCols(1);
    frame_errors_sg->SetFixedRows(1);
    const char* headers[] = {"Errs", "sum", "norm"};
    const int widths[] = {25, 35, 60};
    for (int c = 0; c < 3; ++c) {
        frame_errors_sg->SetCells(c, 0, QLatin1String(headers[c]));
        frame_errors_sg->SetColWidths(c, widths[c]);
    }
    const char* labels[] = {"FP", "FN", "MT", "MO", "CD", "FIT", "FIO"};
    for (int r = 1; r <= 7; ++r) {
        frame_errors_sg->SetCells(0, r, QLatin1String(labels[r - 1]));
        frame_errors_sg->SetCells(1, r, QString());
        frame_errors_sg->SetCells(2, r, QString());
    }
}

void TFormMain::FillFrameErrors(const orvoFrameEval& record)
{
    const uint32_t gt_boxes = record.gt.count();
    const float w = gt_boxes > 0 ? 1.0f / static_cast<float>(gt_boxes) : 1.0f;
    const int32_t counts[] = {record.fp, record.fn, record.mt, record.mo, record.cd, record.fit, record.fio};
    for (int r = 1; r <= 7; ++r) {
        frame_errors_sg->SetCells(1, r, Signed(counts[r - 1]));
        frame_errors_sg->SetCells(2, r, FormatFloat(locale_, static_cast<float>(counts[r - 1]) * w, 6));
    }
}

void TFormMain::sg_objects_data_gtClick() { RedrawWithSelectedBox(sg_objects_data_gt); }

void TFormMain::sg_objects_data_eClick() { RedrawWithSelectedBox(sg_objects_data_e); }

void TFormMain::RedrawWithSelectedBox(TStringGrid* grid)
{
    // Only an evaluated sequence has frame records whose boxes are the sets' own.
    if (!evaluated || EvalContext->frames.empty()) return;
    const size_t index = static_cast<size_t>(tb_frame->value());
    DrawFrameBoxes(index < EvalContext->frames.size() ? &EvalContext->frames[index] : nullptr);
    HighlightSelectedBox(grid);
}

// ---------------------------------------------------------------- saving results

void TFormMain::mm_eval_saveresultClick()
{
    QString file;
    int filter_index = 1;
    if (ui_.SaveFile(QStringLiteral("Save final results into file."), kSaveFilter, &filter_index, &file)) {
        const QString path = ResultFileName(file);
        if (orvo_events_eval_save_report(path.toStdString(), EvalContext, sequence_name.toStdString()) >= 1)
            SetStatusText(QStringLiteral("The results were saved into file ") + path + QStringLiteral("."));
        else
            SetStatusText(QStringLiteral("The results failed to save."));
    }
    RepaintStatus();
}

void TFormMain::SaveBrief(const QString& path)
{
    if (orvo_events_eval_save_brief(path.toStdString(), EvalContext, sequence_name.toStdString()) >= 1)
        SetStatusText(QStringLiteral("The results were saved into file ") + path + QStringLiteral("."));
    else
        SetStatusText(QStringLiteral("The results failed to save."));
}

void TFormMain::mm_eval_savebrief_selectClick()
{
    QString file;
    int filter_index = 1;
    if (ui_.SaveFile(QStringLiteral("Save final results i brief version into file."), kSaveFilter, &filter_index,
                     &file)) {
        last_brief_file = ResultFileName(file);
        mm_eval_savebrief_last->setEnabled(true);
        SaveBrief(last_brief_file);
    }
    RepaintStatus();
}

void TFormMain::mm_eval_savebrief_lastClick()
{
    SaveBrief(last_brief_file);
    RepaintStatus();
}

// ---------------------------------------------------------------- help and history

void TFormMain::mm_help_evaluatorClick()
{
    QFile file(help_file_);
    if (help_file_.isEmpty() || !file.open(QIODevice::ReadOnly)) {
        ui_.ShowMessage(QStringLiteral("Error"),
                        QStringLiteral("The help file \"%1\" could not be opened in %2.")
                            .arg(help_file_, QDir::currentPath()));
        return;
    }
    const QString html = QString::fromUtf8(file.readAll());
    if (!help_window_) {
        help_window_ = new QDialog(this, Qt::Window);
        help_window_->setObjectName(QStringLiteral("HelpWindow"));
        help_window_->setWindowTitle(QStringLiteral("Orvo Tracking Evaluator Help"));
        help_window_->resize(640, 560);
        auto* browser = new QTextBrowser(help_window_);
        browser->setObjectName(QStringLiteral("HelpBrowser"));
        browser->setOpenExternalLinks(true);
        auto* layout = new QVBoxLayout(help_window_);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(browser);
    }
    auto* browser = help_window_->findChild<QTextBrowser*>(QStringLiteral("HelpBrowser"));
    browser->setSearchPaths({QFileInfo(help_file_).absolutePath()});
    browser->setHtml(html);
    help_window_->show();
    help_window_->raise();
}

void TFormMain::mm_help_historyClick()
{
    if (frm_History) frm_History->exec();
}

// ---------------------------------------------------------------- video and graphs

void TFormMain::mm_VideoOpenClick()
{
    // Opening an AVI file comes with the video view.
}

void TFormMain::mm_VideoCloseClick()
{
    // Closing the AVI file comes with the video view.
}

void TFormMain::ShowVideoFrame(const orvoFrameEval*)
{
    // Reading the AVI frame into the video image comes with the video view.
}

void TFormMain::InitVideoImage()
{
    video_image_ = NewImageRGB(720, 576);
    if (!video_image_) throw std::bad_alloc();
    vid_ic->SetImage(video_image_);
    vid_ic->Invalidate();
    vid_zp->SetClientRatio(static_cast<float>(video_image_->xsize) / static_cast<float>(video_image_->ysize));
    vid_zp->Reset();
}

void TFormMain::FreeVideoImage()
{
    if (!video_image_) return;
    // The control must not paint a freed image.
    vid_ic->SetImage(nullptr);
    DeleteImage(video_image_);
    video_image_ = nullptr;
}

void TFormMain::DrawFrameBoxes(const orvoFrameEval* record)
{
    GraphicsListStruct* list = vid_glc->List();
    ClearList(list);
    if (video_image_ && record) {
        const auto add = [list](const orvoEventSelection& selection, uint32_t color) {
            for (const _orvoEvent* e : selection.events) {
                GraphicsRectangleStruct box;
                box.color = color;
                box.left = static_cast<float>(e->x0);
                box.top = static_cast<float>(e->y0);
                box.right = static_cast<float>(e->x1);
                box.bottom = static_cast<float>(e->y1);
                AddRectangleToList(list, &box);
            }
        };
        // E first, so a GT box lies over an E box in the same place.
        add(record->e, ColorRef(QColor(0xFF, 0x00, 0x00)));
        add(record->gt, ColorRef(QColor(0x00, 0x80, 0x00)));
    }
    vid_glc->Invalidate();
}

void TFormMain::HighlightSelectedBox(TStringGrid* grid)
{
    const int row = grid->SelectionTop();
    if (row <= 0) return;
    GraphicsRectangleStruct box;
    box.color = ColorRefWhite;
    box.left = static_cast<float>(StrToInt(grid->Cells(2, row)));
    box.top = static_cast<float>(StrToInt(grid->Cells(3, row)));
    box.right = static_cast<float>(StrToInt(grid->Cells(4, row)));
    box.bottom = static_cast<float>(StrToInt(grid->Cells(5, row)));
    AddRectangleToList(vid_glc->List(), &box);
    vid_glc->Invalidate();
}

void TFormMain::InitGraphCursor() { graphs_->InitCursor(); }

void TFormMain::ResetErrorGraphs() { graphs_->Reset(EvalContext->frame_count()); }

void TFormMain::FillErrorGraphs() { graphs_->Fill(EvalContext->frames); }

void TFormMain::UpdateErrorGraphs(int index)
{
    if (index >= 0 && static_cast<size_t>(index) < EvalContext->frames.size())
        graphs_->Update(index, EvalContext->frames[static_cast<size_t>(index)]);
}

void TFormMain::graph_glcMouseDown(Qt::MouseButton, Qt::KeyboardModifiers, int X, int)
{
    tb_frame->setValue(graphs_->FrameAt(X));
}

void TFormMain::graph_glcMouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers, int X, int)
{
    if (buttons & (Qt::LeftButton | Qt::RightButton)) tb_frame->setValue(graphs_->FrameAt(X));
}

void TFormMain::graphFP_lbClick() { graphs_->ToggleCurve(TErrorGraphs::CurveFP); }
void TFormMain::graphFN_lbClick() { graphs_->ToggleCurve(TErrorGraphs::CurveFN); }
void TFormMain::graphMO_lbClick() { graphs_->ToggleCurve(TErrorGraphs::CurveMO); }
void TFormMain::graphMT_lbClick() { graphs_->ToggleCurve(TErrorGraphs::CurveMT); }
void TFormMain::graphCD_lbClick() { graphs_->ToggleCurve(TErrorGraphs::CurveCD); }
void TFormMain::graphFIT_lbClick() { graphs_->ToggleCurve(TErrorGraphs::CurveFIT); }
void TFormMain::graphFIO_lbClick() { graphs_->ToggleCurve(TErrorGraphs::CurveFIO); }

// ---------------------------------------------------------------- closing

void TFormMain::FormClose()
{
    DetachIdMap();
    if (EvalContext) orvo_events_eval_free(EvalContext);
    EvalContext = nullptr;
    FreeVideoImage();
}

void TFormMain::closeEvent(QCloseEvent* event)
{
    RunHandler(ui_, [this] { FormClose(); });
    if (help_window_) help_window_->close();
    event->accept();
}

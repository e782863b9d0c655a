// The main window: the two event sets and their commands, the evaluation,
// the result tables, the frame browser, saving results, help and history.
#pragma once

#include <memory>

#include <QLocale>
#include <QMainWindow>
#include <QString>

#include "orvo_events_eval.h"
#include "orvo_handler.h"

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QSlider;
class QToolBar;
class QToolButton;
class QTextBrowser;
class QDialog;
class TAdd_frm;
class Tfrm_History;
class TStringGrid;
class TUiServices;
class TErrorGraphs;
class TGraphicsListControl;
class TImageControl;
class TVectorControl;
class TZoomPanel;
struct ImageStruct;
struct TIdMapView;

class TFormMain : public QMainWindow
{
    Q_OBJECT

public:
    explicit TFormMain(TUiServices& ui, QWidget* parent = nullptr);
    ~TFormMain() override;

    void SetAddForm(TAdd_frm* form) { Add_frm = form; }
    void SetHistoryForm(Tfrm_History* form) { frm_History = form; }
    QString HelpFile() const { return help_file_; }
    void SetHelpFile(const QString& file) { help_file_ = file; }

    // Tables are written and thresholds read in this locale. Threshold texts
    // that still hold the defaults follow a new locale's decimal separator.
    QLocale Locale() const { return locale_; }
    void SetLocale(const QLocale& locale);

    QString StatusText() const;
    void SetStatusText(const QString& text);

    // Owns both sets and every result; freed by FormClose.
    orvoEventsEval* EvalContext = nullptr;
    bool params_changed = false;
    bool video_open = false;
    bool evaluated = false;
    QString last_brief_file;
    QString sequence_name;

    // Reads one event file into set; type < 0 asks for the type of a text
    // file. Throws when the type is not a number or the file cannot be read.
    void LoadEventFile(const QString& file_name, orvoEventSet* set, int type);

    // Event handlers. They may throw; their connections run them through the
    // handler wrapper.
    void mm_GT_LoadClick();
    void mm_GT_AddClick();
    void mm_E_LoadClick();
    void mm_E_AddClick();
    void mm_GT_SaveClick();
    void mm_E_SaveClick();
    void mm_GT_ResetClick();
    void mm_E_ResetClick();
    void mm_GT_ExitClick();
    void lb_typesClick();
    void btn_eval_setClick();
    void lbl_ed_thresh_CChange();
    void lbl_ed_thresh_CKeyDown(int key);
    void DisplayFrameInfo();
    void sg_objects_data_gtClick();
    void sg_objects_data_eClick();
    void mm_eval_saveresultClick();
    void mm_eval_savebrief_selectClick();
    void mm_eval_savebrief_lastClick();
    void mm_help_evaluatorClick();
    void mm_help_historyClick();
    void mm_VideoOpenClick();
    void mm_VideoCloseClick();
    void FormClose();
    void graphFP_lbClick();
    void graphFN_lbClick();
    void graphMO_lbClick();
    void graphMT_lbClick();
    void graphCD_lbClick();
    void graphFIT_lbClick();
    void graphFIO_lbClick();
    void graph_glcMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, int X, int Y);
    void graph_glcMouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, int X, int Y);

    // The picture under the boxes; the window owns it, vid_ic only shows it.
    ImageStruct* VideoImage() const { return video_image_; }
    TErrorGraphs& ErrorGraphs() const { return *graphs_; }

    void ApplyEvalParams();
    void FillTypeList();
    void SetFrameRange(const orvoEventSet* set);
    void ShowFrame(orvoEventsEval* context, int index);
    void ClearFrameView();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Connects a signal to a handler through the handler wrapper. Handlers
    // run only while the window owns its context, that is not after FormClose.
    template <typename Sender, typename Signal>
    void Bind(Sender* sender, Signal signal, void (TFormMain::*handler)())
    {
        ConnectHandler(sender, signal, this, ui_, [this, handler] {
            if (EvalContext) (this->*handler)();
        });
    }

    void BuildMenu();
    void BuildToolBar(QWidget* client);
    void BuildControls(QWidget* client);
    void BuildVideoView();
    QAction* AddItem(QMenu* menu, const char* name, const QString& caption, void (TFormMain::*handler)());

    void RunSetCommand(orvoEventSet* target, bool load, bool gt, const QString& caption,
                       const QString& title, const QString& done_text);
    void RunResetCommand(orvoEventSet* target, bool gt, const QString& done_text);
    void FinishSetCommand();
    void SaveSet(const orvoEventSet* set, const QString& title, const QString& what);
    // Marks the results as gone and drops the frame records, so that no view
    // can reach events of a set that has changed.
    void DropResults();
    void SetResultSavingEnabled(bool on);
    void SaveBrief(const QString& path);
    void RepaintStatus();

    void InitObjectGrid(TStringGrid* grid);
    void FillObjectGrid(TStringGrid* grid, const orvoEventSelection* selection);
    void InitSequenceErrorsGrid();
    void InitFrameErrorsGrid();
    void FillSequenceErrors();
    void FillIdentificationMap();
    // Moves the results that IDmap_sg reads out of the context before it is
    // re-initialised or freed.
    void DetachIdMap();
    void FillFmeasureTable(const orvoFrameEval& record);
    void FillFrameErrors(const orvoFrameEval& record);
    void SetFrameLabel();

    QString DefaultCoverageText() const;
    QString DefaultOcclusionText() const;

    // Steps that the error graphs and the video view fill; empty until those
    // controls exist.
    void InitGraphCursor();                               // cursor line at x = 0
    void ResetErrorGraphs();                              // every error vector: one 0 per frame
    void FillErrorGraphs();                               // every frame's counts into the vectors
    void UpdateErrorGraphs(int index);                    // the frame's counts and the cursor
    void InitVideoImage();                                // 720 x 576 start image, zoom ratio
    void DrawFrameBoxes(const orvoFrameEval* record);     // E boxes red, GT boxes green
    void HighlightSelectedBox(TStringGrid* grid);         // the clicked row's box in white
    void RedrawWithSelectedBox(TStringGrid* grid);        // both grid clicks: boxes, then the white one
    void ShowVideoFrame(const orvoFrameEval* record);     // the AVI frame of the record
    void FreeVideoImage();                                // release of the video image

    TUiServices& ui_;
    TAdd_frm* Add_frm = nullptr;
    Tfrm_History* frm_History = nullptr;
    QString help_file_;
    QLocale locale_;
    QDialog* help_window_ = nullptr;
    std::shared_ptr<TIdMapView> id_map_view_;
    std::unique_ptr<TErrorGraphs> graphs_;
    ImageStruct* video_image_ = nullptr;

public:
    // Controls, by their names.
    QToolBar* MainToolBar;
    QToolButton* ToolBtn_Open_Annotation;
    QToolButton* ToolBtn_Open_Tracking;
    QWidget* ToolButton1;
    QToolButton* evaluate_tb;
    QGroupBox* gb_objects;
    QLabel* lbl__frame_act;
    QSlider* tb_frame;
    QLabel* lbl_objects_gt;
    QLabel* lbl_objects_e;
    TStringGrid* sg_objects_data_gt;
    TStringGrid* sg_objects_data_e;
    QLabel* lbl_types;
    QListWidget* lb_types;
    QLineEdit* lbl_ed_thresh_C;
    QLineEdit* lbl_ed_thresh_occlusion;
    QLabel* frame_errors_lbl;
    TStringGrid* frame_errors_sg;
    QLabel* lbl_results;
    TStringGrid* errout_sg;
    QLabel* Fmeas_lbl;
    TStringGrid* Fmeas_sg;
    QLabel* IDmap_lbl;
    TStringGrid* IDmap_sg;
    QGroupBox* vid_gb;
    TZoomPanel* vid_zp;
    TImageControl* vid_ic;
    TGraphicsListControl* vid_glc;
    QGroupBox* graph_gb;
    QLabel* StatusText_lbl;

    QMenu* mm_GT;
    QMenu* mm_E;
    QMenu* mm_Video;
    QMenu* mm_Evaluate;
    QMenu* mm_Help;
    QMenu* mm_eval_savebrief;
    QAction* mm_GT_Load;
    QAction* mm_GT_Add;
    QAction* mm_GT_Save;
    QAction* mm_GT_Reset;
    QAction* mm_GT_Exit;
    QAction* mm_E_Load;
    QAction* mm_E_Add;
    QAction* mm_E_Save;
    QAction* mm_E_Reset;
    QAction* mm_E_Exit;
    QAction* mm_VideoOpen;
    QAction* mm_VideoClose;
    QAction* mm_eval_sequence;
    QAction* mm_eval_saveresult;
    QAction* mm_eval_savebrief_select;
    QAction* mm_eval_savebrief_last;
    QAction* mm_help_evaluator;
    QAction* mm_help_history;
};

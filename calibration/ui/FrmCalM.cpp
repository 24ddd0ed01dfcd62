#include "FrmCalM.h"

#include "FrmMoisture.h"
#include "MoistureGraphWidget.h"
#include "calibration/CalibrationNotebook.h"
#include "calibration/CalibrationReport.h"
#include "calibration/MoistureFit.h"
#include "link/Link.h"
#include "link/Messages.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace dunmere {

namespace {

constexpr int TickMs = 1000;
constexpr int RowsPerPage = 10;
// 12025 x 8160 twips at 15 twips to a pixel.
constexpr QSize WindowSize(802, 544);

const QColor Green(0, 128, 0);

template <class W>
W* named(W* widget, const QString& name)
{
    widget->setObjectName(name);
    return widget;
}

QString indexed(const char* name, int i) { return QString::fromLatin1(name) + u'_' + QString::number(i); }

void setTextColour(QWidget* w, const QColor& colour)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Text, colour);
    p.setColor(QPalette::WindowText, colour);
    w->setPalette(p);
}

}  // namespace

FrmCalM::FrmCalM(Link& link, const TextSource& texts, Messages& messages, Setup setup, QWidget* parent)
    : QWidget(parent, Qt::Window), link_(link), texts_(texts), messages_(messages), setup_(std::move(setup))
{
    setObjectName(QStringLiteral("FrmCalM"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    timer_.setInterval(TickMs);
    connect(&timer_, &ClockTimer::timeout, this, &FrmCalM::onUpdateTimer);
    build();
    applyTexts();
    resize(WindowSize);
}

FrmCalM::~FrmCalM() { timer_.stop(); }

// ---- building

void FrmCalM::build()
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(buildCalibrationFrame(), 5);
    auto* right = new QVBoxLayout;
    right->addWidget(buildSensorFrame());
    LblMatStatus = named(new QLabel, QStringLiteral("LblMatStatus"));
    LblMatStatus->setWordWrap(true);
    LblMatStatus->setMinimumHeight(34);
    right->addWidget(LblMatStatus);
    right->addWidget(buildGraph(), 1);
    layout->addLayout(right, 4);
}

QWidget* FrmCalM::buildCalibrationFrame()
{
    auto* frame = named(new QGroupBox, QStringLiteral("FrameCalibration"));
    auto* v = new QVBoxLayout(frame);
    auto* top = new QHBoxLayout;
    ListCal = named(new QComboBox, QStringLiteral("ListCal"));
    ListCal->setMinimumWidth(140);
    CmdNew = named(new QPushButton, QStringLiteral("CmdNew"));
    CmdDeleteCal = named(new QPushButton, QStringLiteral("CmdDeleteCal"));
    CmdDeleteCal->setToolTip(QStringLiteral("Delete this Calibration"));
    top->addWidget(ListCal, 1);
    top->addWidget(CmdNew);
    top->addWidget(CmdDeleteCal);
    v->addLayout(top);

    FrameNew = named(new QGroupBox, QStringLiteral("FrameNew"));
    auto* n = new QHBoxLayout(FrameNew);
    TextNew = named(new QLineEdit, QStringLiteral("TextNew"));
    TextNew->setMaxLength(StoreColumns(CalibrationKind::Moisture).first().size);
    CmdNewOK = named(new QPushButton(QStringLiteral("OK")), QStringLiteral("CmdNewOK"));
    CmdNewCancel = named(new QPushButton, QStringLiteral("CmdNewCancel"));
    n->addWidget(TextNew, 1);
    n->addWidget(CmdNewOK);
    n->addWidget(CmdNewCancel);
    FrameNew->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    FrameNew->hide();
    v->addWidget(FrameNew);

    for (int page = 0; page < 2; ++page) {
        auto* box = named(new QGroupBox, indexed("FrameCal", page));
        auto* g = new QGridLayout(box);
        g->setVerticalSpacing(1);
        g->setAlignment(Qt::AlignTop);
        g->addWidget(named(new QLabel, QStringLiteral("LblPointsNote")), 0, 1);
        g->addWidget(named(new QLabel, QStringLiteral("LblPointsUS")), 0, 2);
        g->addWidget(named(new QLabel, QStringLiteral("LblPointsMoisture")), 0, 3);
        g->addWidget(named(new QLabel(QStringLiteral("±")), QStringLiteral("LblPointsResidual")), 0, 4);
        for (int k = 0; k < RowsPerPage; ++k) {
            const int i = page * RowsPerPage + k;
            GridRow& r = rows_[size_t(i)];
            g->addWidget(new QLabel(QString::number(i + 1)), k + 1, 0);
            r.date = named(new QLineEdit, indexed("TextCalDate", i));
            r.date->setMaxLength(50);
            r.unscaled = named(new QLineEdit, indexed("TextCalUS", i));
            r.unscaled->setMaxLength(255);
            r.lab = named(new QLineEdit, indexed("TextCalM", i));
            r.lab->setMaxLength(255);
            r.residual = named(new QLabel, indexed("LblResidual", i));
            r.residual->setMinimumWidth(40);
            r.include = named(new QCheckBox, indexed("CalCheck", i));
            g->addWidget(r.date, k + 1, 1);
            g->addWidget(r.unscaled, k + 1, 2);
            g->addWidget(r.lab, k + 1, 3);
            g->addWidget(r.residual, k + 1, 4);
            g->addWidget(r.include, k + 1, 5);
            for (QLineEdit* box : {r.date, r.unscaled, r.lab}) {
                box->installEventFilter(this);
                connect(box, &QLineEdit::textEdited, this, [this, i] { makeCurrentRow(i); });
            }
            connect(r.include, &QCheckBox::clicked, this, [this, i] { makeCurrentRow(i); });
        }
        g->setColumnStretch(1, 3);
        g->setColumnStretch(2, 2);
        g->setColumnStretch(3, 2);
        FrameCal[size_t(page)] = box;
        v->addWidget(box);
    }
    FrameCal[1]->hide();

    v->addStretch(1);
    auto* results = new QGridLayout;
    results->addWidget(new QLabel(QStringLiteral("B")), 0, 0);
    LblCalB = named(new QLabel, QStringLiteral("LblCalB"));
    LblCalB->setFrameShape(QFrame::Panel);
    LblCalB->setFrameShadow(QFrame::Sunken);
    LblCalB->setMinimumWidth(64);
    results->addWidget(LblCalB, 0, 1);
    results->addWidget(new QLabel(QStringLiteral("C")), 0, 2);
    LblCalC = named(new QLabel, QStringLiteral("LblCalC"));
    LblCalC->setFrameShape(QFrame::Panel);
    LblCalC->setFrameShadow(QFrame::Sunken);
    LblCalC->setMinimumWidth(64);
    results->addWidget(LblCalC, 0, 3);
    results->addWidget(new QLabel(QStringLiteral("SSD%")), 0, 4);
    TextCurrentSSD = named(new QLineEdit, QStringLiteral("TextCurrentSSD"));
    TextCurrentSSD->setMaxLength(255);
    results->addWidget(TextCurrentSSD, 0, 5);
    CmdWrite = named(new QPushButton, QStringLiteral("CmdWrite"));
    CmdWrite->setToolTip(QStringLiteral("Write calibration to sensor"));
    results->addWidget(CmdWrite, 0, 6);
    v->addLayout(results);

    auto* bottom = new QHBoxLayout;
    CmdNP = named(new QPushButton(QStringLiteral(">>")), QStringLiteral("CmdNP"));
    CmdNP->setToolTip(QStringLiteral("View next 10 data sets"));
    CmdSave = named(new QPushButton, QStringLiteral("CmdSave"));
    CmdMoistureCalc = named(new QPushButton, QStringLiteral("CmdMoistureCalc"));
    CheckRules = named(new QCheckBox, QStringLiteral("CheckRules"));
    bottom->addWidget(CmdNP);
    bottom->addWidget(CmdSave);
    bottom->addWidget(CmdMoistureCalc);
    bottom->addStretch(1);
    bottom->addWidget(CheckRules);
    v->addLayout(bottom);

    connect(ListCal, &QComboBox::activated, this, &FrmCalM::selectCalibration);
    connect(CmdNew, &QPushButton::clicked, this, &FrmCalM::onNew);
    connect(CmdNewOK, &QPushButton::clicked, this, &FrmCalM::onNewOk);
    connect(TextNew, &QLineEdit::returnPressed, this, &FrmCalM::onNewOk);
    connect(CmdNewCancel, &QPushButton::clicked, this, &FrmCalM::onNewCancel);
    connect(CmdDeleteCal, &QPushButton::clicked, this, &FrmCalM::onDelete);
    connect(CmdSave, &QPushButton::clicked, this, &FrmCalM::onReport);
    connect(CmdWrite, &QPushButton::clicked, this, &FrmCalM::onWrite);
    connect(CmdNP, &QPushButton::clicked, this, [this] { showPage(FrameCal[0]->isVisible() ? 1 : 0); });
    connect(CheckRules, &QCheckBox::toggled, this, &FrmCalM::onRulesToggled);
    connect(CmdMoistureCalc, &QPushButton::clicked, this, [this] {
        // A window of this one: it closes when this window goes.
        if (!calculator_) {
            calculator_ = new FrmMoisture(texts_, messages_, this);
            calculator_->move(pos());
        }
        calculator_->show();
        calculator_->raise();
    });
    return frame;
}

QWidget* FrmCalM::buildSensorFrame()
{
    FrameSensor = named(new QGroupBox, QStringLiteral("FrameSensor"));
    auto* g = new QGridLayout(FrameSensor);
    ListSensor = named(new QComboBox, QStringLiteral("ListSensor"));
    LblAddress = named(new QLabel, QStringLiteral("LblAddress"));
    g->addWidget(ListSensor, 0, 0, 1, 3);
    g->addWidget(LblAddress, 0, 3);
    LblCurrentB = named(new QLabel, QStringLiteral("LblCurrentB"));
    LblCurrentC = named(new QLabel, QStringLiteral("LblCurrentC"));
    LblCurrentSSD = named(new QLabel, QStringLiteral("LblCurrentSSD"));
    g->addWidget(new QLabel(QStringLiteral("B =")), 1, 0);
    g->addWidget(LblCurrentB, 1, 1);
    g->addWidget(new QLabel(QStringLiteral("C =")), 1, 2);
    g->addWidget(LblCurrentC, 1, 3);
    g->addWidget(new QLabel(QStringLiteral("SSD%")), 2, 0);
    g->addWidget(LblCurrentSSD, 2, 1);
    g->addWidget(named(new QLabel, QStringLiteral("LblFilteredUS")), 3, 0, 1, 2);
    TextFiltUS = named(new QLineEdit, QStringLiteral("TextFiltUS"));
    TextFiltUS->setReadOnly(true);
    g->addWidget(TextFiltUS, 3, 2, 1, 2);
    g->addWidget(named(new QLabel, QStringLiteral("LblAvgUS")), 4, 0, 1, 2);
    TextAvgUS = named(new QLineEdit, QStringLiteral("TextAvgUS"));
    TextAvgUS->setReadOnly(true);
    g->addWidget(TextAvgUS, 4, 2, 1, 2);
    CmdAvg = named(new QPushButton, QStringLiteral("CmdAvg"));
    LblAvgHold = named(new QLabel, QStringLiteral("LblAvgHold"));
    g->addWidget(CmdAvg, 5, 0, 1, 3);
    g->addWidget(LblAvgHold, 5, 3);
    connect(CmdAvg, &QPushButton::clicked, this, &FrmCalM::onAveraging);
    connect(ListSensor, &QComboBox::activated, this, &FrmCalM::onSensorChosen);
    return FrameSensor;
}

QWidget* FrmCalM::buildGraph()
{
    auto* box = new QWidget;
    auto* g = new QGridLayout(box);
    g->setContentsMargins(0, 0, 0, 0);
    lbMFS = named(new QLabel, QStringLiteral("lbMFS"));
    g->addWidget(lbMFS, 0, 0, Qt::AlignTop | Qt::AlignRight);
    g->addWidget(named(new QLabel(QStringLiteral("0%")), QStringLiteral("Label62")), 1, 0, Qt::AlignBottom | Qt::AlignRight);
    PictureCal = new MoistureGraphWidget;
    PictureCal->setMinimumSize(240, 180);
    g->addWidget(PictureCal, 0, 1, 2, 2);
    g->addWidget(named(new QLabel(QStringLiteral("0")), QStringLiteral("Label63")), 2, 1, Qt::AlignLeft);
    g->addWidget(named(new QLabel(QStringLiteral("100")), QStringLiteral("lbUSFS")), 2, 2, Qt::AlignRight);
    g->addWidget(named(new QLabel, QStringLiteral("LblGraphUS")), 3, 1, 1, 2, Qt::AlignHCenter);
    g->addWidget(named(new QLabel, QStringLiteral("LblGraphMoisture")), 0, 3, Qt::AlignTop);
    auto* legend = new QVBoxLayout;
    auto legendLine = [&](const char* name, const QColor& colour, bool rule) {
        auto* label = named(new QLabel, QString::fromLatin1(name));
        QPalette p = label->palette();
        p.setColor(QPalette::WindowText, colour);
        label->setPalette(p);
        legend->addWidget(label);
        if (rule)
            ruleLegend_.append(label);
    };
    legendLine("LblBestFit", Qt::red, false);
    legendLine("LblDefCal", QColor(0, 0, 192), true);
    legendLine("LblFineCal", QColor(255, 0, 255), true);
    legendLine("LblCal", Qt::black, true);
    g->addLayout(legend, 4, 1, 1, 3);
    g->setRowStretch(0, 1);
    g->setColumnStretch(1, 1);
    return box;
}

void FrmCalM::applyTexts()
{
    auto t = [this](const char* key) { return texts_.text(QString::fromLatin1(key)); };
    auto set = [this](const char* name, const QString& text) {
        if (auto* l = findChild<QLabel*>(QString::fromLatin1(name)))
            l->setText(text);
    };
    setWindowTitle(QStringLiteral("Dunmere - ") + t("LangMatCal"));
    findChild<QGroupBox*>(QStringLiteral("FrameCalibration"))->setTitle(t("LangCalibration"));
    CmdDeleteCal->setText(t("LangDelete"));
    CmdNew->setText(t("LangNew") + u' ' + t("LangCalibration"));
    FrameNew->setTitle(t("LangNew"));
    CmdNewCancel->setText(t("LangCancel"));
    CmdWrite->setText(t("LangWrite"));
    CmdSave->setText(t("LangMatCal") + QStringLiteral("…"));
    CmdMoistureCalc->setText(t("LangMoisture") + u' ' + t("LangCalculator"));
    CheckRules->setText(t("LangEnable") + u' ' + t("LangRules"));
    for (QLabel* l : findChildren<QLabel*>(QStringLiteral("LblPointsNote")))
        l->setText(t("LangNote"));
    for (QLabel* l : findChildren<QLabel*>(QStringLiteral("LblPointsUS")))
        l->setText(t("LangUnscaled"));
    for (QLabel* l : findChildren<QLabel*>(QStringLiteral("LblPointsMoisture")))
        l->setText(t("LangMoisture") + u'%');
    FrameCal[0]->setTitle(QStringLiteral("1 - 10"));
    FrameCal[1]->setTitle(QStringLiteral("11 - 20"));
    FrameSensor->setTitle(t("LangSensor"));
    set("LblFilteredUS", t("LangFiltered") + u' ' + t("LangUnscaled"));
    set("LblAvgUS", t("LangAvg") + u' ' + t("LangUnscaled"));
    CmdAvg->setText((state_.averagingOn ? t("LangStop") : t("LangStart")) + u' ' + t("LangRemoteAvg"));
    set("LblGraphUS", t("LangUnscaled"));
    set("LblGraphMoisture", t("LangMoisture"));
    set("LblBestFit", QStringLiteral("— ") + t("LangLinearBestFit"));
    set("LblDefCal", QStringLiteral("··· ") + t("LangDefault") + u' ' + t("LangCalibration"));
    set("LblFineCal", QStringLiteral("··· ") + t("LangFineSand") + u' ' + t("LangCalibration"));
    set("LblCal", QStringLiteral("··· ") + t("LangCalibration") + u' ' + t("LangLimit"));
    lbMFS->setText(QStringLiteral("10%"));
}

// ---- opening and leaving

bool FrmCalM::open()
{
    const CalibrationStore::OpenResult opened = store_.open(setup_.storePath);
    if (opened == CalibrationStore::OpenResult::Missing || opened == CalibrationStore::OpenResult::NotAStore) {
        if (!link_.state().ProgramClosing)
            messages_.show(texts_.text(QStringLiteral("LangCalib")), MessageButtons::Ok);
        return false;
    }
    state_.noSensor = setup_.noSensor || setup_.sensors.isEmpty();
    if (state_.noSensor) {
        FrameSensor->setEnabled(false);
        CmdWrite->setEnabled(false);
    } else {
        state_.initialising = true;
        for (const SensorEntry& s : setup_.sensors)
            ListSensor->addItem(s.name);
        const int entry = qBound(0, setup_.selectedEntry, int(setup_.sensors.size()) - 1);
        ListSensor->setCurrentIndex(entry);
        state_.address = setup_.sensors[entry].address;
        LblAddress->setText(QString::number(state_.address));
        state_.digitalAveraging = ReadDigitalAveraging(link_, state_.address);
        CmdAvg->setVisible(!state_.digitalAveraging);
        CmdAvg->setEnabled(!state_.digitalAveraging);
        state_.readCalibrationRequest = true;
        state_.initialising = false;
    }
    CheckRules->setChecked(true);
    fillCalList(false);
    if (!link_.state().ProgramClosing)
        show();
    state_.opened = true;
    timer_.start();
    return true;
}

void FrmCalM::closeEvent(QCloseEvent* event)
{
    if (left_ || state_.closeRequested()) {
        timer_.stop();
        event->accept();
        return;
    }
    // The next tick leaves, so that no exchange of a tick is cut short.
    event->ignore();
    hide();
    emit hiddenForClose();
}

void FrmCalM::leave()
{
    timer_.stop();
    if (calculator_)
        calculator_->close();
    saveCurrent();
    left_ = true;
    close();
    emit left(!state_.noSensor);
}

// ---- the timer

void FrmCalM::onUpdateTimer()
{
    if (tickInProgress_ || left_)
        return;
    tickInProgress_ = true;
    timer_.stop();
    if (pendingSensorEntry_ >= 0 && !state_.noSensor) {
        const int entry = pendingSensorEntry_;
        pendingSensorEntry_ = -1;
        ListSensor->setEnabled(false);
        LblAvgHold->clear();
        state_.sensorChanged(link_, setup_.sensors[entry].address);
        CmdAvg->setVisible(!state_.digitalAveraging);
        CmdAvg->setEnabled(!state_.digitalAveraging);
        ListSensor->setEnabled(true);
    }
    const MoistureWriteValues values{LblCalB->text(), LblCalC->text(), TextCurrentSSD->text()};
    const MoistureTickReport report = state_.tick(link_, texts_, !list_.firstCalibration(), values);
    applyTick(report);
    tickInProgress_ = false;
    // A program that is closing sends nothing more: the window leaves for it to end.
    if (report.leave || link_.state().ProgramClosing) {
        leave();
        return;
    }
    timer_.start();
}

void FrmCalM::applyTick(const MoistureTickReport& report)
{
    auto t = [this](const char* key) { return texts_.text(QString::fromLatin1(key)); };
    switch (report.averagingLabel) {
    case AveragingLabel::Unchanged: break;
    case AveragingLabel::Averaging:
    case AveragingLabel::Avg:
        LblAvgHold->setText(report.averagingLabel == AveragingLabel::Averaging ? t("LangAveraging") : t("LangAvg"));
        setTextColour(LblAvgHold, Green);
        break;
    case AveragingLabel::Hold:
        LblAvgHold->setText(t("LangHold"));
        setTextColour(LblAvgHold, Qt::red);
        break;
    }
    if (report.enableSensorList)
        ListSensor->setEnabled(true);
    if (report.unscaled) {
        TextFiltUS->setText(report.unscaled->first);
        TextAvgUS->setText(report.unscaled->second);
    }
    if (report.sensorCalibration) {
        LblCurrentB->setText(report.sensorCalibration->B);
        LblCurrentC->setText(report.sensorCalibration->C);
        LblCurrentSSD->setText(report.sensorCalibration->SSD);
    }
    if (report.write) {
        if (!link_.state().ProgramClosing)
            messages_.show(report.write->message, MessageButtons::Ok);
        setControlsEnabled(true);
    }
    if (report.recompute)
        recompute();
}

// ---- the fit

CalibrationRows FrmCalM::gridRows() const
{
    CalibrationRows rows;
    for (int i = 0; i < CalibrationRowCount; ++i) {
        const GridRow& r = rows_[size_t(i)];
        rows[size_t(i)] = {r.include->isChecked(), r.date->text(), r.unscaled->text(), r.lab->text()};
    }
    return rows;
}

void FrmCalM::recompute()
{
    const MoistureFit fit = FitMoistureCalibration(gridRows(), state_.currentRow, CheckRules->isChecked());
    showFit(fit);
    saveCurrent();
}

void FrmCalM::showFit(const MoistureFit& fit)
{
    const QString invalid = texts_.text(QStringLiteral("LangInvalid"));
    const CalibrationNotebook book = MoistureNotebook(fit);
    for (int i = 0; i < CalibrationRowCount; ++i) {
        GridRow& r = rows_[size_t(i)];
        const MoistureRowVerdict& v = fit.verdicts[size_t(i)];
        if (v.unticked)
            r.include->setChecked(false);
        for (auto [box, mark] : {std::pair{r.unscaled, v.unscaled}, std::pair{r.lab, v.lab}}) {
            if (mark == TextMark::Accepted) {
                setTextColour(box, Qt::black);
                box->setToolTip({});
            } else if (mark == TextMark::Invalid) {
                setTextColour(box, Qt::red);
                box->setToolTip(invalid);
            }
        }
        const auto entry = book.entryForRow(i);
        r.residual->setText(entry ? CalibrationNotebook::valueText(entry->residual) : QString());
        r.residual->setToolTip(entry ? texts_.text(QStringLiteral("LangMoisture")) + QStringLiteral(" ")
                                          + CalibrationNotebook::valueText(entry->fitted)
                                    : QString());
        const bool worst = i == book.worstRow;
        QFont f = r.residual->font();
        f.setBold(worst);
        r.residual->setFont(f);
        setTextColour(r.residual, worst ? QColor(255, 128, 0) : palette().color(QPalette::WindowText));
    }
    LblCalB->setText(fit.bText());
    LblCalC->setText(fit.cText());
    LblMatStatus->setText(MoistureStatusMessage(fit.result.status, texts_));
    if (fit.writeEnabled && !state_.noSensor)
        CmdWrite->setEnabled(*fit.writeEnabled);
    lbMFS->setText(QString::number(fit.points.fullScale) + u'%');
    PictureCal->show(fit, book.worstRow);
}

// ---- the store

void FrmCalM::fillCalList(bool selectLast)
{
    LblMatStatus->clear();
    showPage(0);
    FrameCal[0]->hide();
    CmdWrite->setEnabled(false);
    CmdDeleteCal->setEnabled(false);
    ListCal->clear();
    list_ = FillCalList(store_, selectLast);
    ListCal->addItems(list_.names);
    current_.reset();
    if (list_.firstCalibration()) {
        PictureCal->clear();
        CmdNP->setEnabled(false);
        CmdSave->setEnabled(false);
        FrameNew->show();
        CmdNewCancel->setEnabled(false);
        TextNew->setFocus();
        return;
    }
    ListCal->setCurrentIndex(list_.current);
    selectCalibration(list_.current);
    CmdNP->setEnabled(true);
    CmdDeleteCal->setEnabled(true);
    CmdSave->setEnabled(true);
    CmdWrite->setEnabled(!state_.noSensor);
    FrameNew->hide();
}

void FrmCalM::selectCalibration(int index)
{
    if (index < 0 || index >= list_.names.size())
        return;
    saveCurrent();
    setControlsEnabled(false);
    showPage(0);
    if (const auto record = store_.record(list_.names[index]))
        loadRecord(*record);
    setControlsEnabled(true);
}

void FrmCalM::loadRecord(const CalibrationRecord& record)
{
    current_ = record;
    LblCalB->setText(record.bValue);
    LblCalC->setText(record.cValue);
    TextCurrentSSD->setText(record.ssd);
    CheckRules->setChecked(record.rules);
    for (int i = 0; i < CalibrationRowCount; ++i) {
        GridRow& r = rows_[size_t(i)];
        const CalibrationRow& row = record.rows[size_t(i)];
        r.include->setChecked(row.include);
        r.date->setText(row.date);
        r.unscaled->setText(row.unscaled);
        r.lab->setText(row.lab);
        r.residual->clear();
        // Existing points are not for every user to change; new rows can still be filled.
        const bool locked = setup_.calibrationLock && !row.unscaled.isEmpty();
        for (QLineEdit* box : {r.date, r.unscaled, r.lab}) {
            box->setEnabled(!locked);
            setTextColour(box, Qt::black);
            box->setToolTip({});
        }
    }
    state_.currentRow = -1;
}

CalibrationRecord FrmCalM::recordFromWindow() const
{
    CalibrationRecord r = current_ ? *current_ : CalibrationRecord{};
    r.bValue = LblCalB->text();
    r.cValue = LblCalC->text();
    r.ssd = TextCurrentSSD->text();
    r.rules = CheckRules->isChecked();
    r.rows = gridRows();
    return r;
}

void FrmCalM::saveCurrent()
{
    if (!current_)
        return;
    const CalibrationRecord r = recordFromWindow();
    if (r == *current_)
        return;
    // A failed save keeps the old record; the next recompute tries again.
    if (store_.save(r, texts_).done())
        current_ = r;
}

void FrmCalM::showPage(int page)
{
    FrameCal[0]->setVisible(page == 0);
    FrameCal[1]->setVisible(page == 1);
    CmdNP->setText(page == 0 ? QStringLiteral(">>") : QStringLiteral("<<"));
}

void FrmCalM::setControlsEnabled(bool enabled)
{
    for (QWidget* w : {static_cast<QWidget*>(CmdAvg), static_cast<QWidget*>(CmdNew), static_cast<QWidget*>(CmdDeleteCal),
                       static_cast<QWidget*>(CmdNP), static_cast<QWidget*>(ListCal), static_cast<QWidget*>(ListSensor)})
        w->setEnabled(enabled);
    // While averaging runs the sensor stays the same.
    if (enabled && state_.averagingOn)
        ListSensor->setEnabled(false);
    CmdWrite->setEnabled(enabled && !state_.noSensor && !LblCalB->text().isEmpty() && !LblCalC->text().isEmpty());
}

void FrmCalM::onNew()
{
    TextNew->clear();
    FrameNew->show();
    CmdNewCancel->setEnabled(true);
    TextNew->setFocus();
}

void FrmCalM::onNewCancel()
{
    TextNew->clear();
    FrameNew->hide();
}

void FrmCalM::onNewOk()
{
    CmdNewCancel->setEnabled(true);
    const QString name = TextNew->text();
    if (name.isEmpty())
        return;
    saveCurrent();
    const CalibrationStore::Outcome outcome = store_.add(name, texts_);
    if (!outcome.done()) {
        if (!outcome.message.isEmpty() && !link_.state().ProgramClosing)
            messages_.show(outcome.message, MessageButtons::Ok);
        return;
    }
    TextNew->clear();
    FrameNew->hide();
    fillCalList(true);
}

void FrmCalM::onDelete()
{
    const int index = ListCal->currentIndex();
    if (index < 0 || index >= list_.names.size())
        return;
    const QString question = texts_.text(QStringLiteral("LangDelete")) + u' ' + texts_.text(QStringLiteral("LangCalibration")) + u'?';
    if (!messages_.show(question, MessageButtons::YesNo))
        return;
    setControlsEnabled(false);
    current_.reset();
    const CalibrationStore::Outcome outcome = store_.remove(list_.names[index], texts_);
    if (!outcome.message.isEmpty() && !link_.state().ProgramClosing)
        messages_.show(outcome.message, MessageButtons::Ok);
    fillCalList(false);
    setControlsEnabled(true);
    if (list_.firstCalibration()) {
        CmdDeleteCal->setEnabled(false);
        CmdNP->setEnabled(false);
        CmdWrite->setEnabled(false);
    }
}

void FrmCalM::onReport()
{
    CmdSave->setEnabled(false);
    saveCurrent();
    const QString proposed = QStringLiteral("Dunmere-") + texts_.text(QStringLiteral("LangMatCal"));
    const QString file = setup_.reportFileName ? setup_.reportFileName(proposed, QString()) : QString();
    if (!file.isEmpty()) {
        const ExportOutcome outcome = ExportCalibrations(store_, file, texts_, setup_.programText);
        if (outcome.code != ExportOutcome::Code::Written && !link_.state().ProgramClosing)
            messages_.show(outcome.message, MessageButtons::Ok);
    }
    CmdSave->setEnabled(true);
}

// ---- the sensor

void FrmCalM::onWrite()
{
    const int entry = ListSensor->currentIndex();
    const QString name = entry >= 0 ? ListSensor->itemText(entry) : QString();
    const QString question = texts_.text(QStringLiteral("LangWrite")) + u' ' + texts_.text(QStringLiteral("LangSensor")) + u' ' + name + u'?';
    if (!messages_.show(question, MessageButtons::OkCancel))
        return;
    setControlsEnabled(false);
    state_.writeRequest = true;
}

void FrmCalM::onAveraging()
{
    state_.averagingClicked();
    auto t = [this](const char* key) { return texts_.text(QString::fromLatin1(key)); };
    CmdAvg->setText((state_.averagingOn ? t("LangStop") : t("LangStart")) + u' ' + t("LangRemoteAvg"));
    if (state_.averagingOn)
        ListSensor->setEnabled(false);
}

void FrmCalM::onSensorChosen(int entry)
{
    if (state_.initialising || entry < 0 || entry >= setup_.sensors.size())
        return;
    // The averaging-mode check talks to the sensor: it waits for the next tick.
    pendingSensorEntry_ = entry;
    LblAddress->setText(QString::number(setup_.sensors[entry].address));
    ListSensor->setEnabled(false);
}

void FrmCalM::onRulesToggled(bool on)
{
    for (QWidget* w : ruleLegend_)
        w->setVisible(on);
}

void FrmCalM::makeCurrentRow(int row) { state_.currentRow = row; }

bool FrmCalM::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn) {
        for (int i = 0; i < CalibrationRowCount; ++i) {
            const GridRow& r = rows_[size_t(i)];
            if (watched != r.date && watched != r.unscaled && watched != r.lab)
                continue;
            makeCurrentRow(i);
            auto* box = static_cast<QLineEdit*>(watched);
            // After the focus change, or the click that brought it would drop the selection.
            QMetaObject::invokeMethod(box, [box, date = box == r.date] { box->setSelection(0, date ? 8 : 6); },
                                      Qt::QueuedConnection);
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace dunmere

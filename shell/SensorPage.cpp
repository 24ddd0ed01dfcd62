#include "SensorPage.h"

#include "sensor/SensorRecord.h"

#include "link/ValueFormat.h"

#include <QCheckBox>
#include <QAbstractItemView>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QValidator>
#include <QPushButton>
#include <QRadioButton>

namespace dunmere {

namespace {

QString indexed(const char* name, int i) { return QString::fromLatin1(name) + QLatin1Char('_') + QString::number(i); }

template <class W>
W* named(W* widget, const QString& name)
{
    widget->setObjectName(name);
    return widget;
}

// Geometry of the page, in pixels inside the page container.
constexpr int Margin = 10;
constexpr int BoxWidth = 40;
constexpr int BoxTop = 10;
constexpr int RowTop = 78;
constexpr int RowHeight = 52;
constexpr int RowGap = 4;
constexpr int ReadingLeft = 390;
constexpr int ReadingWidth = 140;
constexpr int ReadingGap = 8;

constexpr int SelectedPointSize = 11;
constexpr int PlainPointSize = 8;

}  // namespace

SensorPage::SensorPage(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("SensorPage"));
    // Every property set, so that these override what a selected frame passes on.
    plainFont_ = font();
    plainFont_.setBold(false);
    plainFont_.setPointSize(plainFont_.pointSize());
    plainFont_.setFamily(plainFont_.family());
    plainPalette_ = palette();
    for (auto role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
        plainPalette_.setColor(role, plainPalette_.color(role));
    buildAddressBoxes();
    buildRows();
    buildFoot();
}

void SensorPage::buildAddressBoxes()
{
    for (int k = 0; k < AddressCount; ++k) {
        auto* box = named(new QCheckBox(QString::number(k + 1), this), indexed("CheckAddr", k));
        box->setGeometry(Margin + (k % 8) * BoxWidth, BoxTop + (k / 8) * 24, BoxWidth, 22);
        // A click is the user's; the program's own ticks go through setChecked and are not reported.
        connect(box, &QCheckBox::clicked, this, [this, k](bool ticked) { emit checkBoxClicked(k, ticked); });
        checkAddr_[k] = box;
    }
    cmdSearch_ = named(new QPushButton(QStringLiteral("Search"), this), QStringLiteral("CmdSearch"));
    cmdSearch_->setGeometry(Margin + 8 * BoxWidth + 16, BoxTop + 4, 110, 40);
    connect(cmdSearch_, &QPushButton::clicked, this, &SensorPage::searchClicked);

    listValue_ = named(new QComboBox(this), QStringLiteral("ListValue"));
    listValue_->setGeometry(ReadingLeft, RowTop - 26, ReadingWidth, 24);
    listTemp_ = named(new QComboBox(this), QStringLiteral("ListTemp"));
    listTemp_->setGeometry(ReadingLeft + ReadingWidth + ReadingGap, RowTop - 26, ReadingWidth, 24);
    for (QComboBox* list : {listValue_, listTemp_}) {
        list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        list->setMinimumContentsLength(8);
        list->view()->setMinimumWidth(200);
        // The box is narrower than the longer names: the whole name shows on hover.
        connect(list, &QComboBox::currentTextChanged, list, &QWidget::setToolTip);
        list->hide();
    }
    connect(listValue_, &QComboBox::activated, this, &SensorPage::valueListChosen);
    connect(listTemp_, &QComboBox::activated, this, &SensorPage::tempListChosen);
}

namespace {

// Refuses characters a name cannot carry on the bus, as they are typed or pasted.
class BusTextValidator final : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override { return FitsOnTheBus(input) ? Acceptable : Invalid; }
};

}  // namespace

void SensorPage::buildRows()
{
    for (int r = 0; r < RowCount; ++r) {
        Row row{};
        row.FrameSensor = named(new QGroupBox(this), indexed("FrameSensor", r));
        row.FrameSensor->setGeometry(Margin, RowTop + r * (RowHeight + RowGap), 2 * ReadingWidth + ReadingGap + ReadingLeft - Margin + 4, RowHeight);
        auto* frame = row.FrameSensor;
        row.OptSensor = named(new QRadioButton(this), indexed("OptSensor", r));
        row.OptSensor->setAutoExclusive(false);
        row.OptSensor->setGeometry(Margin + 8, RowTop + r * (RowHeight + RowGap) + 20, 40, 24);
        row.ListAddress = named(new QComboBox(frame), indexed("ListAddress", r));
        row.ListAddress->setGeometry(44, 18, 56, 26);
        row.TextName = named(new QLineEdit(frame), indexed("TextName", r));
        row.TextName->setGeometry(108, 18, 170, 26);
        row.TextName->setMaxLength(SensorNameLength);
        row.TextName->setValidator(new BusTextValidator(row.TextName));
        row.CmdAddrOK = named(new QPushButton(frame), indexed("CmdAddrOK", r));
        row.CmdAddrOK->setGeometry(284, 17, 88, 28);
        row.CmdAddrOK->setToolTip(QStringLiteral("Update sensor"));
        row.LblReading = named(new QLabel(frame), indexed("LblReading", r));
        row.LblReading->setGeometry(ReadingLeft - Margin, 16, ReadingWidth, 30);
        row.LblTemp = named(new QLabel(frame), indexed("LblTemp", r));
        row.LblTemp->setGeometry(ReadingLeft - Margin + ReadingWidth + ReadingGap, 16, ReadingWidth, 30);
        for (QLabel* value : {row.LblReading, row.LblTemp}) {
            value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            value->setFrameShape(QFrame::StyledPanel);
            value->setFrameShadow(QFrame::Sunken);
            QFont f = value->font();
            f.setPointSize(12);
            f.setBold(true);
            value->setFont(f);
        }
        frame->hide();
        row.OptSensor->hide();
        row.OptSensor->raise();
        connect(row.OptSensor, &QRadioButton::clicked, this, [this, r] { emit rowOptionClicked(r); });
        connect(row.CmdAddrOK, &QPushButton::clicked, this, [this, r] { emit addressOkClicked(r); });
        rows_[r] = row;
    }
    fillAddressLists();
}

void SensorPage::buildFoot()
{
    const int footTop = RowTop + RowCount * (RowHeight + RowGap) + 6;
    lblConnectedVia_ = named(new QLabel(this), QStringLiteral("lblConnectedVia"));
    lblConnectedVia_->setGeometry(Margin, footTop + 6, 400, 24);
    lblConnectedVia_->hide();
    cmdTrend_ = named(new QPushButton(this), QStringLiteral("CmdTrend"));
    cmdTrend_->setGeometry(ReadingLeft, footTop, 2 * ReadingWidth + ReadingGap, 34);
    cmdTrend_->hide();
    connect(cmdTrend_, &QPushButton::clicked, this, &SensorPage::trendClicked);
}

void SensorPage::fillAddressLists()
{
    QStringList addresses;
    for (int a = 1; a <= AddressCount; ++a)
        addresses << QString::number(a);
    for (const Row& row : rows_) {
        row.ListAddress->clear();
        row.ListAddress->addItems(addresses);
        row.ListAddress->setCurrentIndex(0);
    }
}

void SensorPage::SelectSensorBox(int r, bool selected)
{
    const Row& row = rows_.at(r);
    const QColor colour = ColourTable()[selected ? 0 : 5];
    QPalette palette = row.FrameSensor->palette();
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::ButtonText, colour);
    row.OptSensor->setChecked(selected);
    row.OptSensor->setText(selected ? QStringLiteral("X") : QString());
    row.OptSensor->setPalette(palette);
    row.FrameSensor->setPalette(palette);
    QFont f = row.FrameSensor->font();
    f.setPointSize(selected ? SelectedPointSize : PlainPointSize);
    f.setBold(selected);
    row.FrameSensor->setFont(f);
    // The frame's caption and the readings take the row's colour; the controls the user works
    // with keep their own font and colours.
    for (QWidget* child : {static_cast<QWidget*>(row.ListAddress), static_cast<QWidget*>(row.TextName),
                           static_cast<QWidget*>(row.CmdAddrOK)}) {
        child->setFont(plainFont_);
        child->setPalette(plainPalette_);
    }
}

}  // namespace dunmere

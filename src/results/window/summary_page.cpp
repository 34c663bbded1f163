// SPDX-FileCopyrightText: 2026 The Kestrova developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "results/window/summary_page.h"

#include "controls/link_label.h"
#include "controls/number_box_logic.h"
#include "controls/numeric_edit_box.h"
#include "platform/failure.h"
#include "platform/number_format.h"
#include "platform/property_bag.h"
#include "platform/settings_store.h"
#include "results/summary_report.h"
#include "results/window/forecast_frame.h"
#include "results/window/result_window_host.h"
#include "results/window/usage_bar.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QStyle>
#include <QVBoxLayout>
#include <cmath>

namespace kestrova {

namespace {

using L = SummaryLabel;

constexpr int kBarWidth = 240;
constexpr int kBarHeight = 16;
constexpr int kExcessBarHeight = 8;
constexpr int kValueWidth = 120;

constexpr PlanEditBox kBoxes[] = {PlanEditBox::PlanChargeEdit, PlanEditBox::BandWidthLimitEdit,
                                  PlanEditBox::RsPerMBEdit};

// `caption` with an ampersand before the first `letter`, the mnemonic of its buddy.
QString withMnemonic(const QString& caption, char16_t letter) {
    QString text = caption;
    const qsizetype at = text.indexOf(QChar(letter));
    if (at >= 0) {
        text.insert(at, u'&');
    }
    return text;
}

QLabel* plainLabel(QWidget* parent, const QString& text, const QString& name) {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setObjectName(name);
    return label;
}

// A note in the palette's placeholder colour, a little smaller than the text around it.
QLabel* noteLabel(QWidget* parent, const QString& text, const QString& name) {
    QLabel* label = plainLabel(parent, text, name);
    QFont f = label->font();
    f.setPointSizeF(f.pointSizeF() * 0.9);
    label->setFont(f);
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, p.color(QPalette::PlaceholderText));
    label->setPalette(p);
    return label;
}

QFrame* barBox(QWidget* parent, const QString& name, const QColor& colour, const QString& tip) {
    auto* box = new QFrame(parent);
    box->setObjectName(name);
    box->setAutoFillBackground(true);
    QPalette p = box->palette();
    p.setColor(QPalette::Window, colour);
    box->setPalette(p);
    box->setToolTip(tip);
    return box;
}

QGridLayout* figureGrid(QWidget* box) {
    auto* grid = new QGridLayout(box);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(4);
    grid->setColumnStretch(1, 1);
    return grid;
}

}  // namespace

SummaryTabFrame::SummaryTabFrame(ResultWindowHost& host, const StoredForm& form,
                                 SummaryTab::Clock clock, QString plansAddress, QWidget* parent)
    : QFrame(parent),
      m_host(host),
      m_clock(clock ? std::move(clock) : SummaryTab::Clock([] { return QDate::currentDate(); })),
      m_logic(m_clock),
      m_plansAddress(std::move(plansAddress)) {
    setObjectName(QStringLiteral("fraSummary"));

    // The tab's contents stay where they are designed; a window too small for them scrolls.
    auto* scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("scrSummary"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(scroll);

    m_content = new QWidget;
    m_content->setObjectName(QStringLiteral("fraSummaryContent"));
    auto* grid = new QGridLayout(m_content);
    grid->setContentsMargins(10, 8, 10, 8);
    grid->setHorizontalSpacing(16);
    grid->setVerticalSpacing(10);

    auto* left = new QVBoxLayout;
    left->setSpacing(10);
    auto* planBox = new QGroupBox(m_content);
    planBox->setObjectName(QStringLiteral("fraPlan"));
    buildPlanBox(planBox, form);
    left->addWidget(planBox);
    left->addWidget(buildUsageBox(m_content));
    left->addStretch(1);

    auto* right = new QVBoxLayout;
    right->setSpacing(10);
    right->addWidget(buildFrames(m_content));
    right->addWidget(buildBill(m_content));
    right->addWidget(buildCheapest(m_content));
    m_forecast = new ForecastFrame(m_content);
    right->addWidget(m_forecast);
    right->addStretch(1);

    m_grid = grid;
    m_left = left;
    m_right = right;
    grid->addLayout(left, 0, 0);
    grid->addLayout(right, 0, 1);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);

    auto* notes = new QVBoxLayout;
    notes->setSpacing(2);
    m_today[5] =
        noteLabel(m_content,
                  QStringLiteral("* - These fields are displayed when last recorded day is today."),
                  QStringLiteral("lbl_5"));
    notes->addWidget(m_today[5]);
    notes->addWidget(noteLabel(
        m_content, QStringLiteral("Summary valid only if report generated is only for one month."),
        QStringLiteral("lblSummaryNote")));
    m_notes = notes;
    // At the foot of the left column, the shorter one, rather than in a row below both: the
    // tab then needs no more height than the right column with its forecast.
    left->addLayout(notes);
    grid->setRowStretch(3, 1);
    scroll->setWidget(m_content);

    // The tab as designed: no plan chosen yet, the available frame in front, no "today".
    m_excess->hide();
    for (QLabel* label : m_today) {
        label->hide();
    }
    for (L today :
         {L::UsageTodayLabel, L::UsedAverageExclTodayLabel, L::AvailableAverageExclTodayLabel}) {
        figureLabel(today)->hide();
    }
    for (PlanEditBox box : kBoxes) {
        editBox(box)->hide();
    }
    m_mbLabel->hide();
    m_barExcess->hide();
    m_cheapestBox->hide();
}

void SummaryTabFrame::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    arrangeColumns();
}

void SummaryTabFrame::arrangeColumns() {
    // Two columns side by side where they fit across, else the right one under the left: the
    // tab scrolls down in a small window, never sideways.
    const QMargins margins = m_grid->contentsMargins();
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int sideBySide = margins.left() + m_left->minimumSize().width() +
                           m_grid->horizontalSpacing() + m_right->minimumSize().width() +
                           margins.right() + bar;
    const bool twoColumns = width() >= sideBySide;
    if (twoColumns == m_twoColumns) {
        return;
    }
    m_twoColumns = twoColumns;
    m_grid->removeItem(m_right);
    m_grid->removeItem(m_notes);
    m_left->removeItem(m_notes);
    if (twoColumns) {
        m_grid->addLayout(m_right, 0, 1);
        m_left->addLayout(m_notes);
        m_grid->setColumnStretch(1, 1);
    } else {
        m_grid->addLayout(m_right, 1, 0);
        m_grid->addLayout(m_notes, 2, 0);
        m_grid->setColumnStretch(1, 0);
    }
}

QLabel* SummaryTabFrame::makeFigure(QWidget* parent, SummaryLabel label) {
    auto* value = new QLabel(parent);
    value->setObjectName(summaryLabelName(label));
    value->setTextFormat(Qt::PlainText);
    value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    value->setMinimumWidth(kValueWidth);
    value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_figures[std::size_t(label)] = value;
    return value;
}

void SummaryTabFrame::buildPlanBox(QWidget* box, const StoredForm& form) {
    const SummaryTabCaptions& c = summaryTabCaptions();
    auto* grid = new QGridLayout(box);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(4);

    // Captions with mnemonics for the list and the edit boxes ("Select your &plan"); the texts
    // themselves stay the tab's own, as the command line prints them.
    QLabel* select =
        plainLabel(box, withMnemonic(c.selectYourPlan, u'p'), QStringLiteral("lblSelectYourPlan"));
    QFont bold = select->font();
    bold.setBold(true);
    select->setFont(bold);
    grid->addWidget(select, 0, 0, 1, 2);

    m_plansLabel = new LinkLabel(c.plansLabel, QStringLiteral("plans"), box);
    m_plansLabel->setObjectName(QStringLiteral("lblPlans"));
    m_plansLabel->setToolTip(m_plansAddress);
    connect(m_plansLabel, &QLabel::linkActivated, this,
            [this] { m_host.openLink(m_plansAddress); });
    grid->addWidget(m_plansLabel, 0, 2, 1, 2, Qt::AlignRight);

    m_plans = new QComboBox(box);
    m_plans->setObjectName(QStringLiteral("cmbPlans"));
    m_plans->setMaxVisibleItems(16);
    select->setBuddy(m_plans);
    connect(m_plans, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (m_syncing) {
            return;
        }
        m_logic.selectListIndex(index);
        showFigures();
    });
    grid->addWidget(m_plans, 1, 0, 1, 4);
    grid->addWidget(noteLabel(box, c.planListHint, QStringLiteral("lblPlanListHint")), 2, 0, 1, 4);
    QLabel* custom = plainLabel(box, c.customPlanHint, QStringLiteral("lblCustomPlanHint"));
    custom->setWordWrap(true);
    grid->addWidget(custom, 3, 0, 1, 4);

    const struct {
        QString caption;
        QString captionName;
        SummaryLabel value;
        PlanEditBox box;
        char16_t mnemonic;
    } rows[] = {
        {c.planCharge, QStringLiteral("lblPlanChargeCaption"), L::PlanChargeLabel,
         PlanEditBox::PlanChargeEdit, u'h'},
        {c.bandWidthLimit, QStringLiteral("lblBandWidthLimitCaption"), L::BandWidthLimitLabel,
         PlanEditBox::BandWidthLimitEdit, u'L'},
        {c.rsPerMB, QStringLiteral("lblRsPerMBCaption"), L::RsPerMBLabel, PlanEditBox::RsPerMBEdit,
         u'M'},
    };
    int r = 4;
    for (const auto& row : rows) {
        // The mnemonic shows while the edit box it reaches does (see showFigures).
        QLabel* caption = plainLabel(box, row.caption, row.captionName);
        grid->addWidget(caption, r, 0);
        QLabel* value = makeFigure(box, row.value);
        m_editCaptions[std::size_t(row.box)] = {caption, value, row.caption, row.mnemonic};
        value->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        grid->addWidget(value, r, 1);
        const QString name = editBoxDesign(row.box).key;
        auto* edit = new NumericEdit(box);
        edit->setObjectName(name);
        edit->readProperties(form.bag(name));
        edit->setFixedWidth(kValueWidth);
        const PlanEditBox which = row.box;
        connect(edit, &NumericEdit::changed, this, [this, which] { editBoxChanged(which); });
        grid->addWidget(edit, r, 1, Qt::AlignLeft);
        caption->setBuddy(edit);
        // The focus goes to the box's text inside it, which a screen reader names too.
        edit->lineEdit()->setAccessibleName(row.caption);
        m_editBoxes[std::size_t(row.box)] = edit;
        ++r;
    }
    m_mbLabel = plainLabel(box, c.mbLabel, QStringLiteral("lblMB"));
    grid->addWidget(m_mbLabel, 5, 2);
    grid->setColumnMinimumWidth(1, kValueWidth);
    grid->setColumnStretch(3, 1);
    setTabOrder(m_plans, m_editBoxes[0]);
    setTabOrder(m_editBoxes[0], m_editBoxes[1]);
    setTabOrder(m_editBoxes[1], m_editBoxes[2]);
    setTabOrder(m_editBoxes[2], m_plansLabel);
}

QWidget* SummaryTabFrame::buildUsageBox(QWidget* content) {
    auto* box = new QGroupBox(content);
    box->setObjectName(QStringLiteral("fraUsage"));
    QGridLayout* grid = figureGrid(box);
    auto row = [&](int r, SummaryLabel figure, QLabel* captionLabel) {
        grid->addWidget(captionLabel, r, 0);
        grid->addWidget(makeFigure(box, figure), r, 2);
        captionLabel->setBuddy(figureLabel(figure));
    };
    auto captionOf = [&](SummaryLabel figure) {
        return plainLabel(box, summaryLabelCaption(figure), summaryLabelName(figure) + u"Caption");
    };
    row(0, L::UsedBandWidthLabel, captionOf(L::UsedBandWidthLabel));
    row(1, L::UsedAverageLabel, captionOf(L::UsedAverageLabel));
    // The footer has an "Average per day" of its own that divides by other days.
    const QString averageTip = QStringLiteral(
        "The metered bandwidth divided by the days of the month up to the last recorded day");
    for (QLabel* label :
         {figureLabel(L::UsedAverageLabel),
          box->findChild<QLabel*>(summaryLabelName(L::UsedAverageLabel) + u"Caption")}) {
        label->setToolTip(averageTip);
    }
    row(2, L::UsedLastDayLabel, captionOf(L::UsedLastDayLabel));
    m_today[0] = plainLabel(box, summaryLabelCaption(L::UsageTodayLabel), QStringLiteral("lbl_0"));
    row(3, L::UsageTodayLabel, m_today[0]);
    m_today[1] =
        plainLabel(box, summaryLabelCaption(L::UsedAverageExclTodayLabel), QStringLiteral("lbl_1"));
    m_today[2] = noteLabel(box, summaryTabCaptions().excludingToday, QStringLiteral("lbl_2"));
    row(4, L::UsedAverageExclTodayLabel, m_today[1]);
    // The "(Excluding today)" note under its caption keeps the column narrow.
    grid->addWidget(m_today[2], 5, 0, Qt::AlignTop);

    // The usage bar: the whole allowance, the part used over it from the left, and the excess
    // in the same scale below it.
    auto* bar = new UsageBar(box);
    bar->setObjectName(QStringLiteral("picUsageBar"));
    m_bar = bar;
    bar->setFixedSize(kBarWidth, kBarHeight + 3 + kExcessBarHeight);
    const SummaryTabCaptions& c = summaryTabCaptions();
    m_barAllowed = barBox(bar, QStringLiteral("picDownloadAllowed"), QColor(206, 232, 206),
                          c.downloadAllowedBoxToolTip);
    m_barAllowed->setFrameStyle(QFrame::Box | QFrame::Plain);
    m_barAllowed->setGeometry(0, 0, kBarWidth, kBarHeight);
    m_barActual = barBox(m_barAllowed, QStringLiteral("picActualDownload"), QColor(70, 130, 180),
                         QStringLiteral("Used"));
    m_barActual->setGeometry(0, 0, 0, kBarHeight);
    m_barExcess = barBox(bar, QStringLiteral("picExcessDownload"), QColor(200, 45, 45),
                         c.excessDownloadBoxToolTip);
    m_barExcess->setGeometry(0, kBarHeight + 3, 0, kExcessBarHeight);

    m_percentage = new QLineEdit(box);
    m_percentage->setObjectName(QStringLiteral("txtPercentage"));
    m_percentage->setReadOnly(true);
    m_percentage->setFocusPolicy(Qt::ClickFocus);
    m_percentage->setAlignment(Qt::AlignCenter);
    m_percentage->setToolTip(c.percentageEditToolTip);
    m_percentage->setAccessibleName(c.percentageEditToolTip);
    // Room for the widest figure it shows ("9999%"), whatever the font.
    m_percentage->setFixedWidth(
        std::max(64, m_percentage->fontMetrics().horizontalAdvance(QStringLiteral("99999%")) + 16));
    grid->addWidget(bar, 6, 0, 1, 2, Qt::AlignLeft | Qt::AlignTop);
    grid->addWidget(m_percentage, 6, 2, Qt::AlignRight | Qt::AlignTop);
    return box;
}

QWidget* SummaryTabFrame::buildFrames(QWidget* content) {
    const SummaryTabCaptions& c = summaryTabCaptions();
    auto* place = new QWidget(content);
    place->setObjectName(QStringLiteral("fraUsagePlace"));
    auto* stack = new QGridLayout(place);
    stack->setContentsMargins(0, 0, 0, 0);

    m_available = new QGroupBox(c.availableGroup, place);
    m_available->setObjectName(QStringLiteral("fraAvailable"));
    QGridLayout* a = figureGrid(m_available);
    auto captionOf = [](QWidget* parent, SummaryLabel figure) {
        return plainLabel(parent, summaryLabelCaption(figure),
                          summaryLabelName(figure) + u"Caption");
    };
    int r = 0;
    // The caption made first, so that it is read first.
    auto row = [this](QGridLayout* grid, int at, QGroupBox* box, QLabel* caption,
                      SummaryLabel figure) {
        QLabel* value = makeFigure(box, figure);
        grid->addWidget(caption, at, 0);
        grid->addWidget(value, at, 2);
        caption->setBuddy(value);
    };
    for (L figure : {L::AvailableBandWidthLabel, L::AvailableAverageLabel, L::AvailableDaysLabel}) {
        row(a, r, m_available, captionOf(m_available, figure), figure);
        ++r;
    }
    m_today[3] = plainLabel(m_available, summaryLabelCaption(L::AvailableAverageExclTodayLabel),
                            QStringLiteral("lbl_3"));
    m_today[4] = noteLabel(m_available, c.excludingToday, QStringLiteral("lbl_4"));
    row(a, r, m_available, m_today[3], L::AvailableAverageExclTodayLabel);
    a->addWidget(m_today[4], r + 1, 0, Qt::AlignTop);

    m_excess = new QGroupBox(c.excessGroup, place);
    m_excess->setObjectName(QStringLiteral("fraExcess"));
    QGridLayout* e = figureGrid(m_excess);
    r = 0;
    for (L figure : {L::ExcessBandwidthLabel, L::ExcessRatePerMBLabel, L::ExcessAmountLabel}) {
        row(e, r, m_excess, captionOf(m_excess, figure), figure);
        ++r;
    }
    e->setRowStretch(r, 1);

    // One place for both: whichever is shown stands there.
    stack->addWidget(m_available, 0, 0);
    stack->addWidget(m_excess, 0, 0);
    return place;
}

QWidget* SummaryTabFrame::buildBill(QWidget* content) {
    auto* box = new QGroupBox(content);
    box->setObjectName(QStringLiteral("fraBill"));
    QGridLayout* grid = figureGrid(box);
    int r = 0;
    for (L figure : {L::BillPlanChargeLabel, L::BillExcessChargeLabel, L::BillTotalLabel,
                     L::BillTaxLabel, L::BillTotalAndTaxLabel}) {
        QLabel* caption =
            plainLabel(box, summaryLabelCaption(figure), summaryLabelName(figure) + u"Caption");
        grid->addWidget(caption, r, 0);
        grid->addWidget(makeFigure(box, figure), r, 2);
        caption->setBuddy(figureLabel(figure));
        ++r;
    }
    QLabel* total = figureLabel(L::BillTotalAndTaxLabel);
    QFont bold = total->font();
    bold.setBold(true);
    total->setFont(bold);
    return box;
}

QWidget* SummaryTabFrame::buildCheapest(QWidget* content) {
    auto* box = new QGroupBox(content);
    box->setObjectName(QStringLiteral("fraCheapestPlan"));
    auto* column = new QVBoxLayout(box);
    column->setSpacing(4);
    QLabel* caption = plainLabel(box, QStringLiteral("Cheapest plan for this usage :"),
                                 QStringLiteral("lblCheapestPlanCaption"));
    column->addWidget(caption);
    m_cheapestPlan = plainLabel(box, QString(), QStringLiteral("lblCheapestPlan"));
    caption->setBuddy(m_cheapestPlan);
    m_cheapestPlan->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QFont bold = m_cheapestPlan->font();
    bold.setBold(true);
    m_cheapestPlan->setFont(bold);
    column->addWidget(m_cheapestPlan);
    m_cheapestSaving = plainLabel(box, QString(), QStringLiteral("lblCheapestSaving"));
    m_cheapestSaving->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_cheapestSaving->setWordWrap(true);
    column->addWidget(m_cheapestSaving);
    m_cheapestBox = box;
    return box;
}

void SummaryTabFrame::load() {
    const SettingsStore store;
    m_logic.load(store);
    fillPlanList();
    showFigures();
}

void SummaryTabFrame::save() const {
    SettingsStore store;
    m_logic.save(store);
    store.sync();
}

void SummaryTabFrame::loadCombo() {
    const SettingsStore store;
    m_logic.loadCombo(store);
    fillPlanList();
    showFigures();
}

void SummaryTabFrame::createSummary() {
    m_logic.createSummary();
    showFigures();
}

void SummaryTabFrame::fillPlanList() {
    m_syncing = true;
    m_plans->clear();
    for (const PlanListEntry& entry : m_logic.plansCombo().entries()) {
        m_plans->addItem(entry.text, entry.itemData);
    }
    m_plans->setCurrentIndex(m_logic.plansCombo().listIndex());
    m_syncing = false;
}

void SummaryTabFrame::editBoxChanged(PlanEditBox box) {
    if (m_syncing) {
        return;
    }
    // While the figure is being retyped the box may hold no number yet; that is no figure of
    // 0 (which would turn the allowance box to 1 under the user's fingers).
    if (!readsAsNumber(editBox(box)->text().trimmed())) {
        return;
    }
    m_logic.setEditBoxValue(box, editBox(box)->value());
    showFigures();
}

void SummaryTabFrame::showFigures() {
    m_syncing = true;
    if (m_plans->currentIndex() != m_logic.plansCombo().listIndex()) {
        m_plans->setCurrentIndex(m_logic.plansCombo().listIndex());
    }
    for (PlanEditBox box : kBoxes) {
        const double value = m_logic.editBoxValue(box);
        if (editBoxText(box, editBox(box)->value()) != editBoxText(box, value) ||
            editBox(box)->text().isEmpty()) {
            editBox(box)->setValue(value);
        }
    }
    m_syncing = false;
    m_forecast->setForecast(m_logic.forecast());
    if (!m_logic.plansCombo().hasSelection()) {
        m_cheapestBox->hide();
        return;
    }

    const SummaryFigures& f = m_logic.figures();
    for (int i = 0; i < kSummaryLabelCount; ++i) {
        if (QLabel* label = m_figures[std::size_t(i)]) {
            label->setText(f.labels[std::size_t(i)].shown);
        }
    }
    m_percentage->setText(f.shown(L::PercentageEdit));

    for (L value : {L::PlanChargeLabel, L::BandWidthLimitLabel, L::RsPerMBLabel}) {
        figureLabel(value)->setVisible(!f.customFiguresShown);
    }
    for (PlanEditBox box : kBoxes) {
        editBox(box)->setVisible(f.customFiguresShown);
        const EditCaption& caption = m_editCaptions[std::size_t(box)];
        caption.label->setText(f.customFiguresShown ? withMnemonic(caption.text, caption.mnemonic)
                                                    : caption.text);
        // The caption labels what is shown: the edit box, or the plan's own figure.
        caption.label->setBuddy(f.customFiguresShown ? static_cast<QWidget*>(editBox(box))
                                                     : caption.value);
    }
    m_mbLabel->setVisible(f.customFiguresShown);

    m_available->setVisible(f.availableGroupVisible);
    m_excess->setVisible(f.excessGroupVisible);
    if (f.excessGroupVisible) {
        m_excess->raise();
    } else {
        m_available->raise();
    }
    for (QLabel* label : m_today) {
        label->setVisible(f.todayLabelsVisible);
    }
    for (L today :
         {L::UsageTodayLabel, L::UsedAverageExclTodayLabel, L::AvailableAverageExclTodayLabel}) {
        figureLabel(today)->setVisible(f.todayLabelsVisible);
    }
    showBar();
    showCheapestPlan();
}

void SummaryTabFrame::showBar() {
    const SummaryFigures& f = m_logic.figures();
    const int full = m_barAllowed->width();
    auto widthOf = [full](double fraction) {
        // A share beyond the whole bar (more than twice the allowance used) is drawn full.
        return int(std::lround(std::clamp(fraction, 0.0, 1.0) * full));
    };
    m_barActual->resize(widthOf(f.actualDownloadBoxWidth), m_barAllowed->height());
    m_barExcess->resize(widthOf(f.excessDownloadBoxWidth), kExcessBarHeight);
    m_barExcess->setVisible(f.excessDownloadBoxVisible);
    m_bar->setUsed(f[L::PercentageEdit].kept.toDouble(), f.shown(L::PercentageEdit));
}

void SummaryTabFrame::showCheapestPlan() {
    try {
        const std::vector<PlanCost> costs = comparePlans(m_logic.inputs(), std::nullopt, m_clock());
        const PlanCost& best = costs.front();
        const Bill selected = billOf(m_logic.figures());
        m_cheapestPlan->setText(best.name + QStringLiteral("   ") + best.totalAndTaxText);
        // From the amounts as shown: the saving is their difference to the paisa.
        const std::int64_t saving = savingInPaise(selected, best);
        if (saving > 0) {
            const Decimal rupees{Int128(saving), 2};
            m_cheapestSaving->setText(QStringLiteral("Saves Rs. ") + formatNumber(rupees, 2) +
                                      QStringLiteral(" against the selected plan"));
        } else {
            m_cheapestSaving->setText(QStringLiteral("The selected plan is the cheapest"));
        }
        m_cheapestBox->show();
    } catch (const Failure&) {
        m_cheapestBox->hide();
    }
}

}  // namespace kestrova

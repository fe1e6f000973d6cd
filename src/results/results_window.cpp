#include "results/results_window.h"

#include "browser/browser_lookup.h"
#include "data/steps.h"
#include "data/text_rules.h"
#include "results/results_texts.h"
#include "shared/accessibility.h"
#include "shared/grid_rules.h"
#include "shared/ordering.h"
#include "tools/progress_window.h"

#include <QHeaderView>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QResizeEvent>
#include <QSignalBlocker>
#include <cmath>

namespace tomarina {

namespace {

const QColor highlight(255, 215, 0);

// The window's frame, counted in its height and width as the settings keep them.
constexpr int frame_height = 360;
constexpr int frame_width = 120;

} // namespace

QString ordering_announcement(const QString& sort_key_name) {
    const int mark = results_marked_column(sort_key_name);
    if (mark < 0) return results_texts::default_order_announcement;
    return results_texts::column_order_announcement.arg(results_texts::ordering_mark +
                                                        results_texts::column_headings[std::size_t(mark)]);
}

QString results_heading(SearchType search_type, const QString& key) {
    switch (search_type) {
    case SearchType::prefecture:
        return results_texts::prefecture_heading.arg(key);
    case SearchType::airport:
        return results_texts::airport_heading.arg(key);
    case SearchType::hotel_name:
        return results_texts::hotel_name_heading.arg(key);
    case SearchType::district:
        return results_texts::district_heading.arg(key);
    case SearchType::station:
        return results_texts::station_heading.arg(key);
    case SearchType::keyword:
        return results_texts::keyword_heading.arg(key);
    }
    return {};
}

void ResultsModel::refill(const std::array<QString, 7>& headings) {
    beginResetModel();
    shown_ = rows_.count();
    headings_ = headings;
    endResetModel();
}

const QString& ResultsModel::field(int row, int column) const {
    static const HotelField<QString> fields[7] = {
        {&HotelTables::hotel_syousai_name, &HotelRecord::syousai_name},
        {&HotelTables::hotel_name, &HotelRecord::name},
        {&HotelTables::hotel_tel, &HotelRecord::tel},
        {&HotelTables::hotel_rooms, &HotelRecord::rooms},
        {&HotelTables::hotel_access, &HotelRecord::access},
        {&HotelTables::hotel_price, &HotelRecord::price},
        {&HotelTables::hotel_note, &HotelRecord::note}};
    return rows_.at(row, fields[std::size_t(column)]);
}

QString ResultsModel::cell_text(int row, int column) const {
    if (column < 0 || column > 6) return {};
    const QString& text = field(row, column);
    return column == 3 ? format_text_picture(text, u"#####") : text;
}

qsizetype ResultsModel::cell_length(int row, int column) const {
    if (column < 0 || column > 6) return 0;
    const QString& text = field(row, column);
    if (column != 3) return text.size();
    // A plain count of rooms reads back as itself; only other texts go through the picture.
    const qsizetype n = text.size();
    bool plain = n >= 1 && n <= 9 && text[0] != u'0';
    for (qsizetype k = 0; plain && k < n; ++k) plain = text[k] >= u'0' && text[k] <= u'9';
    return plain ? n : format_text_picture(text, u"#####").size();
}

bool ResultsModel::highlighted(int row) const {
    return rows_.at(row, HotelField<Long>{&HotelTables::hotel_info_no, &HotelRecord::info_no}) != 0 ||
           !rows_.at(row, HotelField<QString>{&HotelTables::hotel_url, &HotelRecord::url}).isEmpty() ||
           !rows_.at(row, HotelField<QString>{&HotelTables::hotel_best, &HotelRecord::best}).isEmpty();
}

QVariant ResultsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= shown_) return {};
    const int row = index.row() + 1;
    switch (role) {
    case Qt::DisplayRole:
        return yen_for_display(cell_text(row, index.column()));
    case Qt::AccessibleTextRole:
        return cell_said(yen_for_display(cell_text(row, index.column())));
    case Qt::BackgroundRole:
        return highlighted(row) ? highlight : QColor(Qt::white);
    case Qt::ForegroundRole:
        return QColor(Qt::black);
    case Qt::TextAlignmentRole:
        return int(Qt::AlignLeft | Qt::AlignTop);
    case Qt::AccessibleDescriptionRole:
        // Whichever cell of the row the user is on.
        return highlighted(row) ? results_texts::online_words : QVariant();
    }
    return {};
}

QVariant ResultsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < 7)
        return headings_[std::size_t(section)];
    return QAbstractTableModel::headerData(section, orientation, role);
}

ResultsWindow::ResultsWindow(Forms& forms, SearchCriterion criterion)
    : Form(forms, stored_names::results, QStringLiteral("results_window")), criterion_(std::move(criterion)) {
    heading_button = add_control<QPushButton>(this, "heading_button", 60, 0, 4335, 375);
    QFont heading_font(results_texts::heading_font_family);
    heading_font.setPointSize(12);
    heading_button->setFont(heading_font);
    // A title bar: the grid it names is the stop for the keyboard.
    heading_button->setFocusPolicy(Qt::NoFocus);

    sample_label = add_control<QLabel>(this, "sample_label", 4560, 120, 375, 135);
    sample_label->setAutoFillBackground(true);
    sample_label->setAccessibleName(results_texts::sample_name);
    sample_meaning_label = add_control<QLabel>(this, "sample_meaning_label", 5040, 120, 4335, 255);
    sample_meaning_label->setText(results_texts::online_explanation);
    sample_meaning_label->setAccessibleName(results_texts::online_sentence);

    hits_grid = add_control<ResultsGrid>(this, "hits_grid", 0, 360, ResultsDesign::grid_width,
                                         ResultsDesign::grid_height);
    model = new ResultsModel(this);
    cells_ = set_up_hotel_grid(hits_grid, model, twips_to_px(row_height_for(1)));
    hits_grid->setTextElideMode(Qt::ElideNone);

    narrowing_button = add_control<QPushButton>(this, "narrowing_button", 60, 4320, 1455, 375);
    narrowing_button->setText(results_texts::narrowing_caption);
    remarks_label = add_control<QLabel>(this, "remarks_label", 1560, 4320, 4215, 375);
    information_button = add_control<QPushButton>(this, "information_button", 6120, 4320, 1215, 375);
    information_button->setText(results_texts::information_caption);
    reserve_button = add_control<QPushButton>(this, "reserve_button", 7440, 4320, 1215, 375);
    reserve_button->setText(results_texts::reserve_caption);
    close_button = add_control<QPushButton>(this, "close_button", 8700, 4320, 735, 375);
    close_button->setText(results_texts::close_caption);

    // Enter presses the button in focus, as in the other windows.
    for (QPushButton* b : {narrowing_button, information_button, reserve_button, close_button})
        b->setAutoDefault(true);
    setTabOrder(hits_grid, narrowing_button);
    hits_grid->setFocus();
    setTabOrder(narrowing_button, information_button);
    setTabOrder(information_button, reserve_button);
    setTabOrder(reserve_button, close_button);

    connect(close_button, &QPushButton::clicked, this, [this] { close_window(); });
    connect(narrowing_button, &QPushButton::clicked, this, &ResultsWindow::narrow_districts);
    QHeaderView* header = hits_grid->horizontalHeader();
    // A click on a heading makes the first hotel row the current row.
    connect(header, &QHeaderView::sectionPressed, this, [this](int column) {
        if (model->rowCount() > 0) hits_grid->set_position(model->index(0, column));
    });
    connect(header, &QHeaderView::sectionDoubleClicked, this, [this](int column) {
        if (model->rowCount() > 0) hits_grid->set_position(model->index(0, column));
        resort_by_current_column();
    });
    connect(hits_grid, &QTableView::doubleClicked, this,
            [this](const QModelIndex&) { resort_by_current_column(); });
    // Ctrl+Enter: a double click on the heading of the current cell's column.
    connect(hits_grid, &ResultsGrid::heading_key_double_clicked, this, [this] {
        if (model->rowCount() > 0) resort(hits_grid->current_column());
    });
    // A column border dragged by the user: the rows follow the new width. A section at the width just
    // set in twips was set by this window, which counts the rows itself.
    connect(header, &QHeaderView::sectionResized, this, [this](int c, int, int px) {
        if (c >= 0 && c < 7 && px != std::max(0, twips_to_px(col_twips_[std::size_t(c)]))) set_row_heights();
    });

    connect_links();
    // The links open only while a browser is set; a row click enables them again once one is.
    connect(&st_.settings_store, &SettingsStore::browser_changed, this, [this] {
        if (is_unloading() || browser_set(st_.settings)) return;
        information_button->setEnabled(false);
        reserve_button->setEnabled(false);
    });

    resize(twips_to_px(ResultsDesign::grid_width), twips_to_px(4725));
    watch_esc();
}

int ResultsWindow::height_twips() const {
    return px_to_twips(height()) + frame_height;
}
int ResultsWindow::width_twips() const {
    return px_to_twips(width()) + frame_width;
}
void ResultsWindow::set_size_twips(int height, int width) {
    resize(std::max(0, twips_to_px(width - frame_width)), std::max(0, twips_to_px(height - frame_height)));
}

void ResultsWindow::on_load() {
    set_up();
    search(criterion_);
}

void ResultsWindow::search(const SearchCriterion& criterion) {
    criterion_ = criterion;
    // Each bar lets window events run: this window, the progress window or the whole program may be
    // closed meanwhile. What is gone is not touched again, and the search stops.
    const QPointer<ResultsWindow> self(this);
    QPointer<ProgressWindow> progress;
    const auto go_on = [&] { return self && !is_unloading() && !forms_.end_requested(); };
    auto bar = [&progress](int value) {
        if (progress && !progress->is_unloading()) progress->step_to(value);
    };
    try_step("progress window", [&] {
        progress = forms_.show<ProgressWindow>();
        progress->start(4, results_texts::searching_caption);
    });
    const QMetaObject::Connection bars = connect(&st_.search, &HotelSearch::progress, this, bar);
    const bool found = go_on() && st_.search.run(criterion, st_.settings.max_kensuu, go_on) &&
                       st_.search.state().sel_count != 0;
    disconnect(bars);
    if (found) {
        run_steps(
            {
                {"rows", [&] { model->rows() = st_.search.rows(); }},
                {"fill_grid", [&] { fill_grid(); }},
                {"bar 4", [&] { bar(4); }},
                {"narrowing button",
                 [&] { narrowing_button->setEnabled(st_.search.state().sel_syousai_count > 5); }},
            },
            go_on);
    } else if (go_on()) {
        pf_.message(this, results_texts::no_hits_message, results_texts::error_title, MsgIcon::Exclamation,
                    MsgButtons::Ok);
        try_step("unload", [&] {
            if (self) unload();
        });
    }
    try_step("close progress", [&] {
        if (progress && !progress->is_unloading()) progress->unload();
    });
}

void ResultsWindow::set_up() {
    restore_position();
    set_heading(heading_text());
}

void ResultsWindow::set_heading(const QString& text) {
    heading_button->setText(text);
    hits_grid->setAccessibleName(text);
}

QString ResultsWindow::heading_text() const {
    return results_heading(criterion_.type, criterion_.key);
}

void ResultsWindow::restore_position() {
    remarks_label->setText(results_texts::remarks_notice);
    // The notice under the grid never takes the focus: the window as it comes up and the grid say it
    // after the colour's meaning.
    for (QWidget* w : {static_cast<QWidget*>(this), static_cast<QWidget*>(hits_grid)})
        describe(w, results_texts::online_sentence + u'\n' + remarks_label->text());
    QPalette p = sample_label->palette();
    p.setColor(QPalette::Window, highlight);
    sample_label->setPalette(p);
    Form::restore_position();
    set_size_twips(st_.settings.sv_height12, st_.settings.sv_width12);
    hits_grid->resize(twips_to_px(ResultsDesign::grid_width), twips_to_px(ResultsDesign::grid_height));
    // The design places of the buttons and the notice, which the resize rule moves from.
    auto record = [](QWidget* w) {
        return TwipsPoint{px_to_twips(w->geometry().left()), px_to_twips(w->geometry().top())};
    };
    close_button_at_ = record(close_button);
    narrowing_button_at_ = record(narrowing_button);
    information_button_at_ = record(information_button);
    reserve_button_at_ = record(reserve_button);
    remarks_label_at_ = record(remarks_label);
    // The saved widths are in effect from the start, whether or not a row is ever shown.
    for (int c = 0; c < ResultsDesign::columns; ++c) set_column_twips(c, st_.settings.sv_colwidth(c));
    information_button->setEnabled(false);
    reserve_button->setEnabled(false);
}

void ResultsWindow::fill_grid() {
    const int rows = model->rows().count();
    std::array<QString, 7> headings = results_texts::column_headings;
    const int mark = results_marked_column(st_.search.ordering());
    if (mark >= 0) headings[std::size_t(mark)] = results_texts::ordering_mark + headings[std::size_t(mark)];
    model->refill(headings);

    for (int c = 0; c < 7; ++c) set_column_twips(c, st_.settings.sv_colwidth(c));
    lengths_.assign(std::size_t(rows), {});
    for (int r = 1; r <= rows; ++r)
        for (int c = 0; c < 7; ++c)
            lengths_[std::size_t(r - 1)][std::size_t(c)] = int(model->cell_length(r, c));
    set_row_heights(true);
    set_heading(heading_text() + results_texts::hits_count.arg(model->rows().count()));
}

void ResultsWindow::set_column_twips(int c, int twips) {
    col_twips_[std::size_t(c)] = twips;
    hits_grid->horizontalHeader()->resizeSection(c, std::max(0, twips_to_px(twips)));
}

int ResultsWindow::column_twips(int c) const {
    const int twips = col_twips_[std::size_t(c)];
    const int px = hits_grid->columnWidth(c);
    return px == std::max(0, twips_to_px(twips)) ? twips : px_to_twips(px);
}

void ResultsWindow::set_row_heights(bool always) {
    std::array<int, 7> cap{};
    for (int c = 0; c < 7; ++c) cap[std::size_t(c)] = results_capacity(c, column_twips(c));
    // Widths that hold as many characters as before change no row.
    if (!always && cap == caps_) return;
    caps_ = cap;
    const int rows = int(lengths_.size());
    // The line counts of every length the rows hold, per column: the rule once per length, not per cell.
    int longest = 0;
    for (const auto& row : lengths_)
        for (const int n : row) longest = std::max(longest, n);
    std::array<std::vector<int>, 7> lines;
    for (int c = 0; c < 7; ++c) {
        auto& counts = lines[std::size_t(c)];
        counts.resize(std::size_t(longest) + 1);
        for (int n = 0; n <= longest; ++n) counts[std::size_t(n)] = line_count(n, cap[std::size_t(c)]);
    }
    std::array<int, 6> heights_px{};
    for (int m = 0; m <= 5; ++m) heights_px[std::size_t(m)] = twips_to_px(row_height_for(m));

    row_heights_.assign(std::size_t(rows), 225);
    std::vector<int> px(static_cast<std::size_t>(rows));
    for (int r = 0; r < rows; ++r) {
        const auto& length = lengths_[std::size_t(r)];
        int m = 0;
        for (int c = 0; c < 7; ++c)
            m = std::max(m, lines[std::size_t(c)][std::size_t(length[std::size_t(c)])]);
        if (m > 1) word_wrap_ = true;
        row_heights_[std::size_t(r)] = row_height_for(m);
        px[std::size_t(r)] = heights_px[std::size_t(std::min(m, 5))];
    }
    hits_grid->set_row_heights(px);
    if (word_wrap_) hits_grid->setWordWrap(true);
}

void ResultsGrid::set_row_heights(const std::vector<int>& heights_px) {
    QHeaderView* vertical = verticalHeader();
    // A header that repaints re-counts every row's position at each resized row, and each resized row
    // is told to the grid on its own: 15000 rows would take 15000 passes over 15000 rows. Laid out and
    // painted once afterwards instead.
    const bool updates = vertical->updatesEnabled();
    vertical->setUpdatesEnabled(false);
    {
        const QSignalBlocker quiet(vertical);
        const int rows = std::min(int(heights_px.size()), vertical->count());
        for (int r = 0; r < rows; ++r)
            // Rows keep their height from the last fill or the header's default, most often one line.
            if (vertical->sectionSize(r) != heights_px[std::size_t(r)])
                vertical->resizeSection(r, heights_px[std::size_t(r)]);
    }
    vertical->setUpdatesEnabled(updates);
    updateGeometries();
    viewport()->update();
}

void ResultsGrid::set_position(const QModelIndex& index) {
    setCurrentIndex(index);
    if (!hasFocus()) park();
}

void ResultsGrid::park() {
    if (!currentIndex().isValid()) return;
    parked_ = currentIndex();
    selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
}

void ResultsGrid::focusOutEvent(QFocusEvent* event) {
    QTableView::focusOutEvent(event);
    park();
}

void ResultsGrid::focusInEvent(QFocusEvent* event) {
    // Back at the cell it left, before the view would choose the first one.
    if (!currentIndex().isValid() && parked_.isValid())
        selectionModel()->setCurrentIndex(parked_, QItemSelectionModel::NoUpdate);
    parked_ = QPersistentModelIndex();
    QTableView::focusInEvent(event);
}

void ResultsWindow::resort_by_current_column() {
    if (hits_grid->current_row() == 1) resort(hits_grid->current_column());
}

void ResultsWindow::resort(int column) {
    // The refill drops the current cell, and hiding the grid passes the focus on: both come back.
    const QModelIndex at = hits_grid->position();
    const bool had_focus = hits_grid->hasFocus();
    run_steps({
        {"order_by",
         [&] {
             st_.search.order_by(ordering_name(results_ordering_at(column)));
             model->rows() = st_.search.rows();
         }},
        {"hide grid", [this] { hits_grid->hide(); }},
        {"fill_grid", [this] { fill_grid(); }},
        {"show grid",
         [&] {
             hits_grid->show();
             if (at.isValid()) hits_grid->set_position(model->index(at.row(), at.column()));
             if (had_focus) hits_grid->setFocus();
         }},
        {"narrowing button",
         [this] { narrowing_button->setEnabled(st_.search.state().sel_syousai_count > 5); }},
        {"clicked row", [this] { follow_clicked_row(); }},
        {"announce", [this] { announce(ordering_announcement(st_.search.ordering())); }},
    });
}

void ResultsWindow::narrow_districts() {
    forms_.show(FormKind::narrowing);
    unload();
}

void ResultsWindow::place(QWidget* w, TwipsPoint p) {
    w->move(twips_to_px(p.left), twips_to_px(p.top));
}

void ResultsWindow::fit_grid_to_window() {
    // Before the first display the design places are not recorded yet: the window keeps them.
    if (!isVisible() || isMinimized()) return;
    const SizeDelta d =
        size_delta(height_twips(), width_twips(), ResultsDesign::height, ResultsDesign::width);
    const int grid_width = grown(ResultsDesign::grid_width, d.dw);
    hits_grid->resize(twips_to_px(grid_width), twips_to_px(grown(ResultsDesign::grid_height, d.dh)));
    place(close_button, moved(close_button_at_, Anchor::bottom_right, d));
    place(information_button, moved(information_button_at_, Anchor::bottom_right, d));
    place(reserve_button, moved(reserve_button_at_, Anchor::bottom_right, d));
    place(narrowing_button, moved(narrowing_button_at_, Anchor::bottom_left, d));
    place(remarks_label, moved(remarks_label_at_, Anchor::bottom_left, d));

    QList<int> widths;
    for (int i = 0; i < ResultsDesign::columns; ++i) widths << st_.settings.sv_colwidth(i);
    const QList<int> scaled = scaled_widths(widths, grid_width);
    for (int i = 0; i < int(scaled.size()); ++i) {
        set_column_twips(i, scaled[i]);
        try_step("sv_colwidth", [&] { st_.settings_store.set_column_width(i, to_integer(column_twips(i))); });
    }
    // The line rule follows the widths now in effect, so that what it counts is what the cells hold.
    if (!scaled.isEmpty()) set_row_heights();
}

void ResultsWindow::resize_once() {
    // The show event and the resize events of the first display bring the same size: one run.
    if (size() == resized_at_) return;
    resized_at_ = size();
    fit_grid_to_window();
}

void ResultsWindow::resizeEvent(QResizeEvent* event) {
    Form::resizeEvent(event);
    if (isVisible()) resize_once();
}

void ResultsWindow::showEvent(QShowEvent* event) {
    Form::showEvent(event);
    resize_once();
}

void ResultsWindow::on_unload() {
    const auto save = [this](Integer Settings::*item, int twips) {
        st_.settings_store.set(item, to_integer(twips));
    };
    run_steps({
        {"sv_height12", [&] { save(&Settings::sv_height12, height_twips()); }},
        {"sv_width12", [&] { save(&Settings::sv_width12, width_twips()); }},
        {"sv_grid1_height12", [&] { save(&Settings::sv_grid1_height12, px_to_twips(hits_grid->height())); }},
        {"sv_grid1_width12", [&] { save(&Settings::sv_grid1_width12, px_to_twips(hits_grid->width())); }},
        {"sv_colwidth",
         [this] {
             for (int i = 0; i < 7; ++i) st_.settings_store.set_column_width(i, to_integer(column_twips(i)));
         }},
        {"form_unload", [this] { Form::on_unload(); }},
        {"detail window", [this] { close_detail_window(); }},
    });
}

} // namespace tomarina

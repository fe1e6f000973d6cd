#include "search/search_conditions_window.h"

#include "data/steps.h"
#include "data/user_file.h"
#include "search/narrowing_window.h"
#include "shared/accessibility.h"
#include "shared/selection.h"

#include <QFocusEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <limits>

namespace tomarina {

namespace {

struct OptionText {
    const char16_t* caption;
    const char16_t* prompt;
};
const OptionText option_texts[] = {
    {u"都道府県名", u"都道府県名を入力して下さい"},
    {u"空港名", u"空港名を入力して下さい"},
    {u"ホテル名", u"ホテル名を入力して下さい"},
    {u"地区名", u"地区名を入力して下さい"},
    {u"最寄り駅名", u"最寄り駅名を入力して下さい"},
    {u"ﾌﾘｰｷｰﾜｰﾄﾞ（部分一致検索します）", u"ﾌﾘｰｷｰﾜｰﾄﾞを入力して下さい"},
};

// The user hotels that the full hotel table left out of the searches; the file keeps them.
const QString user_hotels_left_out =
    QStringLiteral("ホテルの数が上限の%1件に達したため、登録したホテルのうち%2件は検索の対象になりません。\n"
                   "これらのホテルはファイルに残っています。");

QString prompt_of(SearchType type) {
    return QString::fromUtf16(option_texts[int(type) - 1].prompt);
}

} // namespace

SearchConditionsWindow::SearchConditionsWindow(Forms& forms)
    : Form(forms, stored_names::search_conditions, QStringLiteral("search_conditions_window")) {
    setFixedSize(twips_to_px(6000), twips_to_px(3840));

    Frame1 = add_control<QGroupBox>(this, "Frame1", 120, 60, 5760, 900);
    Frame1->setTitle(QStringLiteral("ホテル検索条件"));
    Text1 = add_control<QLineEdit>(Frame1, "Text1", 240, 330, 4800, 375);
    // The entry goes whole into the history; a district or hotel name of a user hotel may be long.
    Text1->setMaxLength(std::numeric_limits<int>::max());
    Command3 = add_control<QPushButton>(Frame1, "Command3", 5160, 330, 420, 375);
    Command3->setText(QStringLiteral("？"));
    Command3->setFocusPolicy(Qt::NoFocus);

    Text2 = add_control<QLineEdit>(this, "Text2", 120, 1080, 5760, 330);
    Text2->setReadOnly(true);
    Text2->setFocusPolicy(Qt::NoFocus);
    Text2->setFrame(false);
    Text2->setAccessibleName(QStringLiteral("案内"));
    // The guidance line never takes the focus: it is what the entry box says after its name; a refusal
    // goes before the prompt of the chosen search.
    connect(Text2, &QLineEdit::textChanged, this, [this](const QString& text) {
        const bool refused = text == search_entry_error();
        describe(Text1, refused ? text + u'\n' + prompt_of(selected_option()) : text);
        if (!refused) announce(QString());
    });

    Frame2 = add_control<QGroupBox>(this, "Frame2", 120, 1500, 5760, 1500);
    Frame2->setTitle(QStringLiteral("検索方法"));
    QRadioButton** options[] = {&Option1, &Option2, &Option3, &Option4, &Option5, &Option6};
    for (int k = 0; k < 6; ++k) {
        auto* o = add_control<QRadioButton>(Frame2, QStringLiteral("Option%1").arg(k + 1), k < 3 ? 240 : 2280,
                                            300 + (k % 3) * 380, k < 3 ? 1900 : 3360, 330);
        o->setText(QString::fromUtf16(option_texts[k].caption));
        *options[k] = o;
        connect(o, &QRadioButton::toggled, this, [this](bool on) {
            if (on) set_label1();
        });
    }

    Command1 = add_control<QPushButton>(this, "Command1", 2520, 3180, 1575, 480);
    Command1->setText(QStringLiteral("検索開始"));
    Command2 = add_control<QPushButton>(this, "Command2", 4260, 3180, 1575, 480);
    Command2->setText(QStringLiteral("検索終了"));
    for (QPushButton* b : {Command1, Command2}) b->setAutoDefault(true);

    // Every option has its place, and Tab stops at the checked one only.
    QWidget* order[] = {Text1, Option1, Option2, Option3, Option4, Option5, Option6, Command1, Command2};
    for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);

    connect(Command1, &QPushButton::clicked, this, &SearchConditionsWindow::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &SearchConditionsWindow::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &SearchConditionsWindow::Command3_Click);

    pf_.set_ime(Text1, true);
    watch_esc();
}

SearchType SearchConditionsWindow::selected_option() const {
    const QRadioButton* options[] = {Option1, Option2, Option3, Option4, Option5, Option6};
    for (int k = 0; k < 6; ++k)
        if (options[k]->isChecked()) return SearchType(k + 1);
    return SearchType::prefecture;
}

void SearchConditionsWindow::init_sec() {
    int left_out = 0;
    run_steps({
        {"Option1",
         [this] {
             if (Option1->isChecked())
                 set_label1();
             else
                 Option1->setChecked(true);
         }},
        {"copy_user_hotel", [this, &left_out] { left_out = st_.directory.add_user_hotels(); }},
        {"set_form1", [this] { restore_position(); }},
        // Last: nothing of the window is touched after the message's wait.
        {"left out",
         [this, &left_out] {
             if (left_out > 0)
                 pf_.message(this, user_hotels_left_out.arg(HotelTables::hotel_capacity).arg(left_out),
                             QStringLiteral("注意メッセージ"), MsgIcon::Exclamation, MsgButtons::Ok);
         }},
    });
}

void SearchConditionsWindow::restore_position() {
    run_steps({{"set_label1", [this] { set_label1(); }},
               {"hide Command3", [this] { Command3->hide(); }},
               {"place", [this] { Form::restore_position(); }}});
}

void SearchConditionsWindow::set_label1() {
    run_steps({
        {"focus Text1", [this] { Text1->setFocus(); }},
        {"set_text1", [this] { set_text1(); }},
        // The option is the criterion of the next search; the running search keeps its own.
        {"prompt", [this] { Text2->setText(prompt_of(selected_option())); }},
        // The entry may have kept the focus: the picker button follows the new criterion.
        {"picker button",
         [this] {
             if (Text1->hasFocus()) Command3->setVisible(picked_from_list(selected_option()));
         }},
    });
}

void SearchConditionsWindow::set_text1() {
    switch (selected_option()) {
    case SearchType::prefecture:
        Text1->setText(latest_entry(st_.settings.text1_hist));
        break;
    case SearchType::airport:
        Text1->setText(latest_entry(st_.settings.text2_hist));
        break;
    case SearchType::keyword:
        break; // the keyword keeps whatever the entry holds
    default:
        Text1->clear();
        break;
    }
}

std::optional<AcceptedEntry> SearchConditionsWindow::check_text1() {
    auto accepted = accept_search_entry(st_.db, selected_option(), Text1->text());
    if (accepted && accepted->entry != Text1->text()) Text1->setText(accepted->entry);
    return accepted;
}

void SearchConditionsWindow::set_start(SearchType search_type) {
    const QString input_text = Text1->text();
    if (search_type == SearchType::prefecture)
        push_history(st_.settings.text1_hist, input_text);
    else if (search_type == SearchType::airport)
        push_history(st_.settings.text2_hist, input_text);
}

void SearchConditionsWindow::Command1_Click() {
    if (Text1->text().isEmpty()) {
        Text1->setFocus();
        return;
    }
    const auto accepted = check_text1();
    if (!accepted) {
        refuse_entry();
        return;
    }
    set_start(accepted->search_type);
    Text2->setText(prompt_of(selected_option()));
    save_position();
    // A new search replaces the hits of a results window still open from the last one.
    if (Form* old = forms_.loaded(FormKind::results)) old->close_window();
    // The district lists of an open narrowing window belong to the last search.
    if (auto* narrowing = forms_.loaded<NarrowingWindow>()) narrowing->unload();
    // The criterion and key are fixed here for the whole search: the narrowing runs it again with them.
    forms_.show(FormKind::results, SearchCriterion{accepted->search_type, accepted->search_key, {}});
}

void SearchConditionsWindow::Command3_Click() {
    Command3->hide();
    open_picker();
}

void SearchConditionsWindow::Text1_DblClick() {
    open_picker();
}

void SearchConditionsWindow::open_picker() {
    const SearchType mode = selected_option();
    if (picked_from_list(mode)) PickerWindow::open<SearchConditionsWindow>(forms_, mode);
}

void SearchConditionsWindow::picker_chosen(SearchType, const QString& name) {
    Text1->setText(name);
    Command1->setFocus();
    // The box is behind the focus now: what filled it is said on its own.
    announce(Frame1->title() + u' ' + name);
}

void SearchConditionsWindow::Text1_KeyPress(KeyAscii) {
    if (Text1->text().isEmpty()) {
        Text1->setFocus();
        return;
    }
    if (const auto accepted = check_text1()) {
        Text2->clear();
        set_start(accepted->search_type);
        Command1->setFocus();
    } else {
        refuse_entry();
    }
}

void SearchConditionsWindow::refuse_entry() {
    Text2->setText(search_entry_error());
    Text1->setFocus();
    announce(search_entry_error());
}

// The options are one stop for Tab and Shift+Tab: the checked one, whichever it is; the arrows move
// between them.
bool SearchConditionsWindow::focusNextPrevChild(bool next) {
    QWidget* from = focusWidget();
    if (!from) return Form::focusNextPrevChild(next);
    auto step = [next](QWidget* w) { return next ? w->nextInFocusChain() : w->previousInFocusChain(); };
    for (QWidget* w = step(from); w && w != from; w = step(w)) {
        const auto* option = qobject_cast<QRadioButton*>(w);
        if (w->window() != this || !(w->focusPolicy() & Qt::TabFocus) || !w->isVisible() || !w->isEnabled() ||
            (option && !option->isChecked()))
            continue;
        w->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
        return true;
    }
    return false;
}

bool SearchConditionsWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Text1) {
        switch (event->type()) {
        case QEvent::KeyPress: {
            auto* k = static_cast<QKeyEvent*>(event);
            if (const auto enter = enter_key(k)) {
                Text1_KeyPress(*enter);
                return true;
            }
            // The picker from the keyboard, as a drop-down list opens.
            if (opens_picker(k) && picked_from_list(selected_option())) {
                Command3_Click();
                return true;
            }
            break;
        }
        case QEvent::FocusIn:
            QMetaObject::invokeMethod(Text1, &QLineEdit::selectAll, Qt::QueuedConnection);
            Command3->setVisible(picked_from_list(selected_option()));
            break;
        case QEvent::MouseButtonDblClick:
            Text1_DblClick();
            break;
        default:
            break;
        }
    } else if (watched == Command1 && event->type() == QEvent::FocusIn) {
        Command3->hide();
    }
    return Form::eventFilter(watched, event);
}

} // namespace tomarina

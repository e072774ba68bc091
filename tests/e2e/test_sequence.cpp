// Seeded random walks through the real main window and its real dialogs
// against simulated units on the fake clock: reads, edits, presets, writes,
// swaps of the unit, lost replies and Cancels, with what the windows show and
// write checked after every step. A failing walk prints its steps in the form
// Replay takes, so that it can become a plain test.
#include "exchange_fixture.h"
#include "frmBattLife.h"
#include "frmDialogsGenParams.h"
#include "frmDialogsMainWin.h"
#include "frmGenSettings.h"
#include "frmMultiTAT.h"
#include "multitat_probe.h"
#include "vbconv.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QGroupBox>
#include <QMouseEvent>
#include <QPointer>
#include <iostream>
#include <numeric>
#include <random>
#include <ranges>
#include <set>
#include <sstream>

namespace {

using Addr = uint32_t; // as the simulated unit keys its memory
using Addrs = std::vector<Addr>;
using Values = std::map<std::string, std::string>;
using Names = std::vector<std::string>;

Addrs Span(bool lower, int p1, int p2, int p3, int n)
{
    Addrs out;
    for (int i = 0; i < n; ++i) {
        out.push_back((lower ? 1u << 24 : 0u) | Addr(p1) << 16 | Addr(p2) << 8 | Addr(p3 + i));
    }
    return out;
}
Addrs operator+(Addrs a, const Addrs& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}
// A write frame's command letter, and the bytes it writes to.
bool Write(const std::string& f) { return f.size() > 6 && std::string("WwF").find(f[1]) != std::string::npos; }
Addrs Targets(const std::string& f)
{
    const auto p = [&f](size_t i) { return static_cast<uint8_t>(f[i]); };
    return f[1] == 'F' ? Span(false, 0xA0, 4, 8, 1) : Span(f[1] == 'w', p(2), p(3), p(4), p(5));
}
Addrs Gen(int offset, int n = 1) { return Span(false, 0xE0, 0, offset, n); }
const Addrs Nav = Span(true, 0x80, 0, 0, 2) + Span(true, 0, 0, 0, 20) + Span(false, 0xA0, 4, 7, 2),
            Tats = Span(false, 0xE2, 0, 0, 10) + Span(false, 0xE2, 0, 0x10, 10);
// What each choice may change: an address rides in the codeword, the block and
// the general block; a chosen scheme writes its whole chain, an HPR channel
// written is followed by the address and channel codes.
const Addrs NavChain = Nav + Gen(1) + Gen(5) + Gen(9), PresetBytes = NavChain + Gen(0) + Gen(3, 5) + Gen(0xA);
const std::map<std::string, Addrs> Choices = {
    {"main:addr", NavChain}, {"main:click", NavChain}, {"main:chan", Nav + Gen(1) + Gen(9)},
    {"main:quickset", NavChain},
    {"gen:preset", PresetBytes}, {"gen:addr", NavChain}, {"gen:gain", Gen(0)}, {"gen:power", Gen(0xA, 2)},
    {"gen:tat", Gen(3, 2)}, {"gen:pulse", Gen(5)}, {"gen:relay", Gen(8)}};
// What a step reads, by the window that shows it; "NAV" is the main window's navigation.
// clang-format off
const std::map<std::string, std::set<std::string>> Reads = {
    {"main:status", {"NAV", "lblTxFirmware", "lblDepthOnOff", "lblTypeNumber", "lblSerialNumber", "lblVoltage"}},
    {"main:voltage", {"lblVoltage"}}, {"main:get", {"NAV"}}, {"main:set", {"NAV"}}, {"main:exit", {"NAV"}},
    {"main:settings", {"GEN", "QNAV"}}, {"main:quickset", {"GEN", "QNAV"}}, {"gen:get", {"GEN", "QNAV"}}, {"tat:get", {"TAT"}}};
// Fields of any window that show the same bytes: the codeword, the interrogation code group.
const Addrs Codeword = Span(true, 0x80, 0, 0, 2), IntGroup = Span(true, 0, 0, 0, 4);
const std::map<std::string, Addrs> Alike = {
    {"NAV.lblAddr", Codeword},         {"NAV.txtAddress_3", Codeword},         {"QNAV.txtAddress", Codeword},
    {"QNAV.lblQuickData_1", Codeword}, {"NAV.lblInterrogate_4", IntGroup},     {"NAV.cboOrvaneIntChan_3", IntGroup},
    {"QNAV.cboOrvaneIntChan", IntGroup}, {"QNAV.lblQuickData_0", IntGroup}};
const std::map<std::string, std::string> Buttons = {
    {"main:status", "cmdStatus"}, {"main:voltage", "cmdVoltage"}, {"main:get", "cmdRead"}, {"main:set", "cmdSet"},
    {"gen:get", "cmdGenRead_%"}, {"gen:set", "cmdGenWrite_%"}, {"gen:cancel", "cmdGenCancel_%"},
    {"tat:get", "cmdTATRead"}, {"tat:set", "cmdTATWrite"}, {"tat:cancel", "cmdTATCancel"}};
// clang-format on

// What a user may do and where: the control that must be on ("" none, "%" the
// general dialog's panel), how often, the step and its choices.
enum Level { Main, General, Multi };
struct Offer {
    Level level;
    const char* control;
    int weight;
    const char* step;
    Names args;
};
const Names Addresses = {"0704", "0503", "1207", "4705"},
            PresetNames = {"A1", "A2", "A3", "B1", "B2", "B3", "C1", "C2", "C3"};
// clang-format off
const std::vector<Offer> Offers = {
    {Main, "", 3, "status", {}}, {Main, "cmdVoltage", 2, "voltage", {}}, {Main, "cmdRead", 3, "get", {}},
    {Main, "cmdSet", 2, "set", {}},
    {Main, "txtAddress_2", 2, "addr", Addresses}, {Main, "txtAddress_3", 2, "addr", Addresses},
    {Main, "cboHPRChan", 2, "chan cboHPRChan", {"0", "4", "11"}},
    {Main, "cboOrvaneIntChan_3", 2, "chan cboOrvaneIntChan_3", {"2", "6", "12"}},
    {Main, "cboOrvaneReplyChan", 2, "chan cboOrvaneReplyChan", {"3", "7"}},
    {Main, "cboProgrammedChan", 2, "chan cboProgrammedChan", {"0", "1", "14", "32"}},
    {Main, "cboDualModeChan", 2, "chan cboDualModeChan", {"0", "2", "25"}},
    {Main, "optReplyType_1", 1, "click optReplyType_1", {}}, {Main, "optReplyType_2", 1, "click optReplyType_2", {}},
    {Main, "cmdSettings", 3, "settings", {}}, {Main, "cmdQuickSet", 1, "quickset", {}},
    {Main, "", 1, "idle", {"status", "get", "set"}},
    {General, "cmdGenRead_%", 3, "get", {}}, {General, "cmdGenWrite_%", 3, "set", {}},
    {General, "cmdGenCancel_%", 2, "cancel", {}}, {General, "cmdQuick_1", 4, "preset", PresetNames},
    {General, "cmdAdvanced", 1, "panel", {}}, {General, "cmdQuickSet", 1, "panel", {}},
    {General, "cboGain_%", 2, "gain", {"Low", "High"}}, {General, "cboPowerLevel_%", 1, "power", {"Low", "High"}},
    {General, "cboGenTAT", 2, "tat", {"250.0", "375.0", "500.0", "625.0"}},
    {General, "txtPulseWidth", 2, "pulse", {"4.0", "6.0", "8.0"}},
    {General, "txtRelayOnTime", 1, "relay", {"1.0", "5.2"}},
    {General, "cboAddress", 1, "addr", {"12", "33"}}, {General, "txtAddress", 1, "addr", {"4705", "0503"}},
    {General, "cmdMultiTATs", 5, "multitat", {}}, {General, "", 2, "exit", {}},
    {Multi, "cmdTATRead", 3, "get", {}}, {Multi, "cmdTATWrite", 4, "set", {}}, {Multi, "cmdTATCancel", 2, "cancel", {}},
    {Multi, "cboTAT_0", 3, "entry", {"0 62.5", "3 187.5", "5 437.5", "6 400", "7 812.5", "9 875"}},
    {Multi, "", 2, "exit", {}}};
// clang-format on
// Frames whose reply a step may lose; the first eight, writes, may be refused.
const Names FaultFrames = {"W|E0|00|00", "W|E0|00|03", "W|E0|00|05", "w|80|00|00", "w|00|00|00",
                           "F|00|00|00", "W|E2|00|00", "W|E2|00|10", "V|A0|00|00", "r|80|00|00",
                           "r|00|00|00", "R|A0|04|08", "R|E0|00|00", "R|E0|00|02", "R|E0|00|09",
                           "R|E2|00|00", "R|E2|00|10", "R|E0|0A|80", "v|00|00|00", "R|E0|0A|00"};

// One unit per firmware code, each with its own navigation (codeword, RS232
// channel, block), general block, multi-TAT table, type, serial and battery.
const std::string Codes = " 00 0D B8 BB 19 50 68 AA 00 0B 0F 28 D6 DD BC 8E";
// clang-format off
const std::vector<Names> Units = {
    {"Vers2.05F", "2053", "10", "00 64 00 7F" + Codes, "FF 2F 4F 30 BF C8 30 D4 39 01 FF 01 F1"}, // Spanwave MF2
    {"Vers1.20F", "2074", "10", "00 64 00 77 00 09 7B 3E FF FF FF FF 00 09 C0 A9 FF FF FF FF",
                                                            "00 0C 44 24 8A 96 18 6A 14 03 00 01 F1"}, // tone
    {"Vers2.10F", "22F5", "10", "00 C8 00 B7" + Codes, "FF 2F 4F 30 BF C8 30 D4 39 05 FF 01 F1"}, // preset A3
    {"Vers2.20F", "2857", "11", "", "00 05 52 3C F4 64 61 A8 1E 07 FF 01 F1"},                 // HPR, type not IRS
    {"Vers2.00D", "8000", "01", "", "FF 21 4F 18 55 C8 30 D4 28 02 00 01 F1"},
    {"Vers1.11S", "8000", "02", "", "00 2F 44 24 8A 96 18 6A 14 04 00 01 F1"},
    {"Vers2.05S", "8000", "11", "", "FF 15 4F 30 BF 64 30 D4 0A 01 FF 01 F1"}};
// clang-format on

Sim::TransponderModel MakeUnit(size_t u)
{
    const Names& f = Units[u];
    Sim::TransponderModel m;
    m.versionText = f[0];
    m.batteryCount = static_cast<uint8_t>(180 + 6 * u);
    m.portBytes = std::string("\0\0", 2) + (u == 4 || u == 5 ? '\x02' : '\x05');
    Memory::SetCodeword(m, static_cast<uint16_t>(std::stoi(f[1], nullptr, 16)));
    Memory::SetChannel(m, static_cast<uint8_t>(std::stoi(f[2], nullptr, 16)));
    Memory::SetDepthByte(m, static_cast<uint8_t>(u % 3)); // on, off, status on
    if (!f[3].empty()) {
        Memory::ParamBlockText(m, f[3]);
    }
    const std::string general = Bytes(f[4]), type = std::to_string(5020 + u), serial = "0042" + std::to_string(10 + u);
    for (uint8_t i = 0; i < 16; ++i) {
        m.Poke(false, 0xE0, 0, i, i < general.size() ? general[i] : 0);
        m.Poke(false, 0xE0, 0x0A, i, i < type.size() ? type[i] : ' ');
        m.Poke(false, 0xE0, 0x0A, 0x20 + i, i < serial.size() ? serial[i] : ' ');
    }
    for (uint8_t i = 0; i < 10; ++i) { // the table rotated by u places
        const auto word = static_cast<uint16_t>(0x0606 + 0x61A * ((i + u) % 10) + u);
        const auto p3 = static_cast<uint8_t>((i < 5 ? 0 : 0x10) + 2 * (i % 5));
        m.Poke(false, 0xE2, 0, p3, word >> 8);
        m.Poke(false, 0xE2, 0, p3 + 1, word & 0xFF);
    }
    return m;
}

std::string Text(const QWidget* w)
{
    QString t;
    if (auto* e = qobject_cast<const QLineEdit*>(w)) {
        t = e->text();
    } else if (auto* c = qobject_cast<const QComboBox*>(w)) {
        t = c->currentText();
    } else if (auto* l = qobject_cast<const QLabel*>(w)) {
        t = l->text();
    }
    return Forms::S(t.trimmed());
}
// Shown within its window, whichever panel of the general dialog is up.
bool ShownUnder(const QWidget* w, const QWidget* top)
{
    for (; w != nullptr && w != top; w = w->parentWidget()) {
        if (w->isHidden() && !w->objectName().startsWith(QStringLiteral("picGeneral"))) {
            return false;
        }
    }
    return true;
}
// A value shown as read: white, enabled, not blank and not being typed. Labels
// and multi-TAT entries show "not read" by their text: a value there counts.
void PutRead(Values& shown, const QWidget* top, const std::string& name, bool offToo = false)
{
    auto* w = name.empty() ? nullptr : top->findChild<QWidget*>(QString::fromStdString(name));
    const QWidget* typing = QApplication::focusWidget();
    // "N/A" tells of the firmware, or of a pass that ended early: no value of the unit.
    if (w != nullptr && ShownUnder(w, top) && (w->isEnabled() || offToo) && Forms::BackColor(w) == Forms::vbWhite &&
        !Text(w).empty() && Text(w) != "N/A" && !(typing != nullptr && (typing == w || w->isAncestorOf(typing)))) {
        shown[name] = Text(w);
    }
}
std::string Fmt(const Values& s)
{
    std::string out;
    for (const auto& [k, v] : s) {
        out += (out.empty() ? "" : ", ") + k + "=" + v;
    }
    return "{" + out + "}";
}

struct Filter : QObject {
    std::function<void(QObject*, QEvent*)> on;
    bool eventFilter(QObject* o, QEvent* e) override
    {
        on(o, e);
        return false;
    }
};

class SequenceTest : public ExchangeTest {
protected:
    ~SequenceTest() override
    {
        win.reset();
        Forms::RegisterDialog("frmMultiTAT", [](QWidget*) { return std::unique_ptr<QDialog>(); });
    }

    // `steps` steps chosen by `seed` among what the windows offer.
    void Walk(unsigned seed, int steps)
    {
        rng.seed(seed);
        left = steps;
        if (seed % Units.size() != 0) {
            script.push_back("swap " + Units[seed % Units.size()][0]); // the unit the walk starts on
        }
        Run();
        if (HasFailure()) {
            std::cout << "Seed " << seed << " as a plain test:\n    Replay({";
            for (size_t i = 0; i < lines.size(); ++i) {
                std::cout << (i ? ",\n            \"" : "\"") << lines[i] << "\"";
            }
            std::cout << "});\n";
        }
    }
    // Steps as a walk prints them: one line per step of the main window, with
    // the steps inside its dialogs joined to it by "; ".
    void Replay(const Names& steps)
    {
        for (const std::string& line : steps) {
            std::stringstream in(line);
            for (std::string s; std::getline(in, s, ';');) {
                script.push_back(Forms::S(QString::fromStdString(s).trimmed()));
            }
        }
        replaying = true;
        Run();
    }

private:
    void Run()
    {
        for (size_t u = 0; u < Units.size(); ++u) {
            units.push_back(MakeUnit(u));
        }
        model = units[0];
        RegisterGenParamsDialogs();
        RegisterMainWinDialogs();
        boxes.AllowBoxes(); // every box answered with its first button, and recorded
        Load();
        Activate();
        learns.emplace([this] { // where in a step the program learns of another unit
            step.found = std::min(step.found, model.Frames().size());
        });
        clicker.on = [this](QObject* o, QEvent* e) {
            auto* b = static_cast<QWidget*>(o);
            if (e->type() == QEvent::MouseButtonRelease && b->isEnabled() && b->isVisible()) {
                clicks.push_back({o->objectName().toStdString(), model.Frames().size(), boxes.Boxes().size()});
            }
        };
        win->cmdSet->installEventFilter(&clicker);
        mainBusy.on = [this](QObject*, QEvent* e) { step.mainRead = step.mainRead || e->type() == QEvent::Show; };
        win->cmdCancel->installEventFilter(&mainBusy);
        QTimer watchdog;
        QObject::connect(&watchdog, &QTimer::timeout, [this] { Watch(); });
        watchdog.start(0);
        for (std::string s; !stuck && !(s = Next(Main)).empty();) {
            Do(Main, s);
        }
    }

    QWidget* Top(Level level) const
    {
        return level == Main ? win.get() : level == General ? gen : static_cast<QWidget*>(tat);
    }
    QWidget* C(Level level, std::string name) const
    {
        if (const size_t at = name.find('%'); at != std::string::npos) {
            name.replace(at, 1, Panel());
        }
        return Top(level)->findChild<QWidget*>(QString::fromStdString(name));
    }
    std::string Panel() const { return gen->findChild<QWidget*>("picGeneral_1")->isHidden() ? "0" : "1"; }

    // The script's next step, or one of what is on, at random.
    std::string Next(Level level)
    {
        if (replaying || left-- <= 0 || (lines.empty() && !script.empty())) {
            const std::string s = script.empty() ? (level == Main ? "" : "exit") : script.front();
            if (!script.empty()) {
                script.pop_front();
            }
            return s;
        }
        const auto any = [this](const Names& items) { return items[rng() % items.size()]; };
        const unsigned f = rng() % 5;
        std::vector<std::pair<int, std::string>> opts = {
            {2, "swap " + Units[(cur + 1 + rng() % (Units.size() - 1)) % Units.size()][0]},
            {1, "stop " + std::to_string(1 + rng() % 16)}, // any frame of the longest exchange
            {2, f < 3   ? "lose " + any(FaultFrames)
                : f < 4 ? "refuse " + FaultFrames[rng() % 8]
                        : "mute " + std::to_string(rng() % 6)}};
        if (level == Main && win->mnuBattLife->isEnabled()) {
            opts.emplace_back(1, "battlife");
        }
        for (const Offer& o : Offers) {
            QWidget* w = o.level == level && *o.control != '\0' ? C(level, o.control) : nullptr;
            if (o.level == level && (*o.control == '\0' || (w != nullptr && w->isVisible() && w->isEnabled()))) {
                opts.emplace_back(o.weight, o.step + (o.args.empty() ? "" : " " + any(o.args)));
            }
        }
        int r = 0;
        for (const auto& o : opts) {
            r += o.first;
        }
        r = static_cast<int>(rng() % static_cast<unsigned>(r));
        for (const auto& [weight, step] : opts) {
            if ((r -= weight) < 0) {
                return step;
            }
        }
        return "exit";
    }

    void Do(Level level, const std::string& s)
    {
        if (level == Main || lines.empty()) {
            lines.push_back(s);
        } else {
            lines.back() += "; " + s;
        }
        const size_t blank = s.find(' ');
        const std::string verb = s.substr(0, blank), arg = blank == std::string::npos ? "" : s.substr(blank + 1);
        if (verb == "lose" || verb == "refuse" || verb == "mute" || verb == "stop") {
            pending.emplace_back(verb, arg); // for the next step only
            return;
        }
        const std::string kind = (level == Main ? "main:" : level == General ? "gen:" : "tat:") + verb;
        Begin(kind);
        if (verb == "swap") {
            units[cur] = model;
            cur = static_cast<size_t>(
                      std::find_if(Units.begin(), Units.end(), [&](const Names& u) { return u[0] == arg; }) -
                      Units.begin()) %
                  Units.size();
            model = units[cur];
            model.ClearFrames();
            step.f0 = 0;
        } else if (Buttons.count(kind) != 0) {
            QTest::mouseClick(C(level, Buttons.at(kind)), Qt::LeftButton);
        } else if (verb == "click") {
            QTest::mouseClick(C(level, arg), Qt::LeftButton, {}, QPoint(4, C(level, arg)->height() / 2));
            navEdits.insert("*");
        } else if (kind == "main:idle") {
            Idle(arg);
        } else if (kind == "main:chan" || verb == "gain" || verb == "power" || kind == "gen:tat") {
            auto* combo = qobject_cast<QComboBox*>(C(level, verb == "chan"    ? arg.substr(0, arg.find(' '))
                                                            : verb == "gain"  ? "cboGain_%"
                                                            : verb == "power" ? "cboPowerLevel_%"
                                                                              : "cboGenTAT"));
            Pick(combo, combo == nullptr || verb == "chan" ? std::stoi(arg.substr(arg.find(' ') + 1))
                                                           : combo->findText(QString::fromStdString(arg)));
            if (verb == "chan") {
                navEdits.insert(arg.substr(0, arg.find(' ')));
            }
        } else if (verb == "addr" || verb == "pulse" || verb == "relay") {
            for (const std::string& name : verb == "pulse" ? Names{"txtPulseWidth"}
                                           : verb == "relay"
                                               ? Names{"txtRelayOnTime"}
                                               : Names{"txtAddress_2", "txtAddress_3", "cboAddress", "txtAddress"}) {
                if (QWidget* f = C(level, name); f != nullptr && f->isVisible() && f->isEnabled()) {
                    Type(f, arg);
                    if (level == Main) {
                        navEdits.insert(name);
                    }
                    break;
                }
            }
        } else if (verb == "preset") {
            const auto n = std::find(PresetNames.begin(), PresetNames.end(), arg) - PresetNames.begin();
            QTest::mouseClick(C(level, "cmdQuick_" + std::to_string(n + 1)), Qt::LeftButton);
        } else if (verb == "panel") {
            QTest::mouseClick(C(level, Panel() == "1" ? "cmdAdvanced" : "cmdQuickSet"), Qt::LeftButton);
        } else if (verb == "entry") {
            MultiTATProbe::Type(tat, std::stoi(arg), arg.substr(arg.find(' ') + 1).c_str());
            for (Addr a : Tats) {
                chosen[a] = 't'; // Set writes both pages
            }
        } else if (verb == "battlife") {
            OpenThen<frmBattLife>([this] { Trigger("mnuBattLife"); },
                                  [this](frmBattLife* d) {
                                      QTest::mouseClick(d->findChild<QPushButton*>("cmdGetLife"), Qt::LeftButton);
                                      Settled(d, {"cmdGetLife"});
                                      bool answered = false; // hours come only from a voltage this unit told
                                      for (size_t i = step.f0; i < model.Frames().size(); ++i) {
                                          answered = answered || (model.Frames()[i].starts_with("!v") &&
                                                                  !model.Replies()[i].empty() && i + 1 < step.stopAt);
                                      }
                                      const std::string life = Text(d->findChild<QLabel*>("lblLifeLeft"));
                                      EXPECT_TRUE(answered || life.empty())
                                          << "SHOWN AS READ at '" << lines.back() << "': lblLifeLeft shows " << life;
                                      QTest::mouseClick(d->findChild<QPushButton*>("cmdBack"), Qt::LeftButton);
                                  });
        } else if (verb == "settings" || verb == "quickset") {
            QWidget* button = C(Main, verb == "settings" ? "cmdSettings" : "cmdQuickSet");
            OpenThen<frmGenSettings>([button] { QTest::mouseClick(button, Qt::LeftButton); },
                                     [this](frmGenSettings* d) {
                                         gen = d;
                                         if (d->findChild<QTimer*>("tmrReadParams")->isActive()) {
                                             d->tmrReadParams_Timer(); // its read on opening, without the real 100 ms
                                         }
                                         Inside(General, {"cmdGenWrite_0", "cmdGenWrite_1"}, "main:exit", "cmdExit_%");
                                         gen = nullptr;
                                     });
        } else if (verb == "multitat") {
            OpenThen<frmMultiTAT>([this] { QTest::mouseClick(C(General, "cmdMultiTATs"), Qt::LeftButton); },
                                  [this](frmMultiTAT* d) {
                                      tat = d;
                                      Inside(Multi, {"cmdTATWrite"}, "tat:exit", "cmdExit");
                                      tat = nullptr;
                                  });
        }
        End();
    }

    // Steps inside a dialog, from its own modal loop; its Exit ends the step that opened it.
    void Inside(Level level, const Names& sets, const std::string& exit, const char* button)
    {
        for (const std::string& name : sets) {
            C(level, name)->installEventFilter(&clicker);
        }
        End(); // of the opening
        for (std::string s; !stuck && (s = Next(level)) != "exit";) {
            Do(level, s);
        }
        lines.back() += "; exit";
        Begin(exit);
        QTest::mouseClick(C(level, button), Qt::LeftButton);
    }
    template <typename T>
    void OpenThen(const std::function<void()>& open, const std::function<void(T*)>& inside)
    {
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* d = qobject_cast<T*>(QApplication::activeModalWidget());
            if (d != nullptr && d->isVisible() && !d->Busy()) {
                poll.stop();
                QApplication::setActiveWindow(d);
                inside(d);
            }
        });
        poll.start(0);
        open();
    }
    // A click on Set the moment the window shows itself idle, posted so that it
    // waits for the next pass of events. The window was idle only if nothing of
    // its own exchange follows the Set it let in.
    void Idle(const std::string& button)
    {
        step.clean = false;
        step.reads = Reads.at("main:" + button);
        bool posted = false, shown = true; // shown: Set stayed on into a pass of events, where a user sees it
        size_t setEnded = SIZE_MAX, clicked = 0;
        int pass = 0;
        Filter idle;
        idle.on = [&](QObject*, QEvent* e) {
            QPushButton* set = win->cmdSet;
            if (e->type() == QEvent::EnabledChange && posted && passes == pass) {
                shown = set->isEnabled();
            }
            if (e->type() == QEvent::EnabledChange && !posted && set->isEnabled() && win->cmdCancel->isHidden()) {
                posted = true;
                clicked = clicks.size();
                pass = passes;
                const QPoint at = set->rect().center();
                for (QEvent::Type t : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
                    QCoreApplication::postEvent(
                        set,
                        new QMouseEvent(t, at, set->mapToGlobal(at), Qt::LeftButton,
                                        t == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier));
                }
            }
        };
        const auto ended = QObject::connect(win->cmdSet, &QPushButton::clicked,
                                            [&] { setEnded = std::min(setEnded, model.Frames().size()); });
        win->cmdSet->installEventFilter(&idle);
        QTest::mouseClick(C(Main, Buttons.at("main:" + button)), Qt::LeftButton);
        win->cmdSet->removeEventFilter(&idle);
        const size_t actionEnded = model.Frames().size();
        QCoreApplication::processEvents();
        QObject::disconnect(ended);
        EXPECT_GE(setEnded, actionEnded) << "SET ON WHILE BUSY at '" << lines.back()
                                         << "': Set was on and took a click while " << button
                                         << " still ran: " << actionEnded - setEnded << " frames of it followed";
        EXPECT_TRUE(!posted || !shown || clicks.size() > clicked)
            << "NOT IDLE at '" << lines.back() << "': Set turned on as " << button
            << " ended, and off before the click";
    }
    // Clicks into the field, types over it and tabs on.
    void Type(QWidget* field, const std::string& text)
    {
        QTest::mouseClick(field, Qt::LeftButton);
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(field, Qt::Key_Backspace);
        QTest::keyClicks(field, QString::fromStdString(text));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    // Opens the list with the mouse, picks item `n` with the keys and tabs on.
    void Pick(QComboBox* c, int n)
    {
        if (c == nullptr || !c->isVisible() || !c->isEnabled()) {
            return;
        }
        QTest::mouseClick(c, Qt::LeftButton, {}, QPoint(c->width() - 4, c->height() / 2));
        QAbstractItemView* list = c->view();
        n = std::min(n, c->count() - 1);
        if (!list->isVisible() || n < 0) {
            return;
        }
        for (int at = list->currentIndex().row(); at != n; at += at < n ? 1 : -1) {
            QTest::keyClick(list, at < n ? Qt::Key_Down : Qt::Key_Up);
        }
        QTest::keyClick(list, Qt::Key_Return);
        Focus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    // The window on top takes the keys: the offscreen platform hands the
    // activation of a closed list on late.
    void Focus()
    {
        QCoreApplication::processEvents();
        QWidget* top = QApplication::activeModalWidget() != nullptr ? QApplication::activeModalWidget() : win.get();
        if (QApplication::activeWindow() != top) {
            QApplication::setActiveWindow(top);
        }
    }
    // Passes of the event loop within one step: a step that never ends fails,
    // and so does a Set on top left on while an exchange runs.
    void Watch()
    {
        QWidget* top = QApplication::activeModalWidget() != nullptr ? QApplication::activeModalWidget() : win.get();
        static const Names names = [] { // Set, and whatever else a user may press or change there
            Names n = {"cmdSet", "cmdGenWrite_0", "cmdGenWrite_1", "cmdTATWrite", "cmdDepth"};
            for (const std::string c : Offers | std::views::transform(&Offer::control)) {
                for (const char* p : {"0", "1"}) {
                    n.push_back(c.find("Cancel") != std::string::npos ? ""
                                : c.ends_with('%')                 ? c.substr(0, c.size() - 1) + p
                                                                   : c);
                }
            }
            return n;
        }();
        if (step.busySet || (Cancel(top) == nullptr && !win->cmdCancel->isVisible())) {
            return Count();
        }
        if (watched.first != top) { // looked up once a window is on top
            watched = {top, {}};
            for (const std::string& name : names) {
                watched.second.emplace_back(name.empty() ? nullptr
                                                         : top->findChild<QWidget*>(QString::fromStdString(name)));
            }
        }
        for (size_t i = 0; i < names.size(); ++i) {
            const QWidget* set = watched.second[i];
            if (set != nullptr && set->isEnabled() && (i < 4 || set->isVisible()) && !step.busySet) {
                step.busySet = true;
                ADD_FAILURE() << "SET ON WHILE BUSY at '" << lines.back() << "': " << names[i]
                              << " is on while an exchange runs";
            }
        }
        Count();
    }
    void Count()
    {
        if (++passes == 20000 && !stuck) {
            stuck = true;
            ADD_FAILURE() << "STEP NEVER ENDS at '" << lines.back() << "': the step did not end";
            for (QWidget* w = QApplication::activeModalWidget(); w != nullptr; w = QApplication::activeModalWidget()) {
                static_cast<QDialog*>(w)->QDialog::done(QDialog::Rejected);
            }
        } else if (passes > 40000) {
            std::cerr << "STEP NEVER ENDS at '" << lines.back() << "': the step never ends\n";
            std::abort();
        }
    }

    // ---- A step: its faults armed, then the checks.
    void Begin(const std::string& kind)
    {
        clock.Advance(1.5); // the user's pause: replies still on their way land first
        if (port->PortOpen()) {
            port->InBufferCount();
        }
        Focus();
        step = Step{kind,   model.Frames().size(), boxes.Boxes().size(), SIZE_MAX, FirmwareReader::Changes(),
                    chosen, cur == believed};
        if (Reads.count(kind) != 0) {
            step.reads = Reads.at(kind);
        }
        if (kind == "main:set") {
            step.nav = Read("NAV");
        }
        passes = 0;
        clicks.clear();
        watched = {};
        for (const auto& [verb, arg] : pending) {
            if (verb == "stop") {             // the progress Cancel of the window on top, at the Nth frame
                model.knobs.replyDelay = 0.5; // every wait reaches its progress events
                stopper = std::make_unique<QTimer>();
                QObject::connect(stopper.get(), &QTimer::timeout, [this, at = step.f0 + std::stoul(arg)] {
                    QWidget* top =
                        QApplication::activeModalWidget() != nullptr ? QApplication::activeModalWidget() : win.get();
                    if (QPushButton* b = Cancel(top);
                        model.Frames().size() >= at && b != nullptr && b->isEnabled() && !step.stopped) {
                        step.stopped = true;
                        step.stopAt = model.Frames().size(); // the reply awaited then is never taken
                        QTest::mouseClick(b, Qt::LeftButton);
                    }
                });
                stopper->start(0);
            } else if (verb == "mute") {
                step.mute = step.f0 + std::stoul(arg);
                model.knobs.answerFrames = static_cast<int>(step.mute);
            } else if (arg.size() == 10) {
                std::string hex = arg.substr(2);
                std::replace(hex.begin(), hex.end(), '|', ' ');
                step.faults.push_back(arg[0] + Bytes(hex));
                (verb == "lose" ? model.knobs.ignoreFrame : model.knobs.refuseFrame) = step.faults.back();
            }
        }
        pending.clear();
    }

    void End()
    {
        stopper.reset();
        const auto& frames = model.Frames();
        bool hit = step.stopped || frames.size() > step.mute, versionRead = false, navRead = false, acked = false;
        for (size_t i = step.f0; i < frames.size(); ++i) {
            hit = hit || std::find(step.faults.begin(), step.faults.end(), frames[i].substr(1, 4)) != step.faults.end();
            versionRead = versionRead || frames[i].starts_with("!V");
            navRead = navRead || frames[i].starts_with("!r");
            acked = acked || (Write(frames[i]) && model.Replies()[i] == "?");
            if (frames[i].starts_with("!V") && !model.Replies()[i].empty() && i + 1 < step.stopAt) {
                step.found = std::min(step.found, i + 1); // a version answer that reached the program names the unit
            }
        }
        const bool clean = step.clean && !hit;
        model.knobs = Sim::Knobs{};
        const uint32_t changes = FirmwareReader::Changes();
        const bool named = TpdrFirmware.FWVersion() != FWUnknown && TpdrFirmware.FWVersion() != FWPending;
        if (changes != step.changes || (step.found != SIZE_MAX && (known ? cur != believed : named))) {
            believed = cur; // the program knows, or was told, the unit on the cable; nothing chosen before stands
            known = true;
            chosen.clear();
        }
        const std::string at = "at '" + lines.back() + "': ";
        // 1. A write goes only to values chosen since the last read (or a scheme's
        // chain), or asked for by a Yes. Once the program learns of another unit
        // nothing chosen before counts; before it could know, it is not judged.
        std::set<Addr> yes;
        bool why = false; // a box that tells why nothing may be written
        for (size_t i = step.b0; i < boxes.Boxes().size(); ++i) {
            const std::string& title = boxes.Boxes()[i].title;
            const Addrs asked = title == "Spanwave Type NOT IRS" ? NavChain
                                : title == "Write HPR Channel"   ? Span(false, 0xA0, 4, 8, 1)
                                                                 : Addrs{};
            yes.insert(asked.begin(), asked.end());
            why = why || asked.empty();
        }
        std::string stray;
        bool answered = yes.empty() || why || !clean;
        for (size_t i = step.f0; i < frames.size(); ++i) {
            const Addrs sent = Write(frames[i]) ? Targets(frames[i]) : Addrs{};
            answered = answered || std::any_of(sent.begin(), sent.end(), [&](Addr a) { return yes.count(a) != 0; });
            const Addrs to = step.consistent || i >= step.found ? sent : Addrs{};
            if (std::any_of(to.begin(), to.end(), [&](Addr a) {
                    return yes.count(a) == 0 && !(step.consistent && step.chosen.count(a) != 0);
                })) {
                stray += " " + Sim::FrameText(frames[i]);
            }
        }
        EXPECT_TRUE(stray.empty()) << "UNCHOSEN WRITE " << at << "frames to values no choice made:" << stray;
        EXPECT_TRUE(answered) << "UNWRITTEN " << at << "a Yes to write, and nothing it asked for was written";
        // 2. A Set clicked while on wrote (acknowledged) or said why; a Yes to
        // a box that asks to write says nothing of why it did not.
        for (const Click& c : clicks) {
            bool told = false;
            for (size_t i = c.boxes; i < boxes.Boxes().size(); ++i) {
                told = told || (boxes.Boxes()[i].title != "Spanwave Type NOT IRS" &&
                                boxes.Boxes()[i].title != "Write HPR Channel");
            }
            for (size_t i = c.frames; i < frames.size() && !told; ++i) {
                told = Write(frames[i]) && model.Replies()[i] == "?";
            }
            EXPECT_TRUE(told) << "SILENT SET " << at << c.name << " clicked while on wrote nothing and said nothing";
        }
        // 3. What shows as read is what the unit held at its last read, and
        // after an acknowledged write what it now holds.
        if (versionRead) { // every window's version read shows in the label
            step.reads.insert("lblFirmware");
        }
        if (step.mainRead && step.reads.count("QNAV") + (step.kind == "gen:set") != 0) {
            step.reads.insert({"NAV", "QNAV"}); // the main window's read for the quick-set panel
        }
        for (const std::string& g : step.reads) {
            if (frames.size() > step.f0) {
                Record(g, clean);
            }
        }
        if ((step.kind == "gen:set" || step.kind == "tat:set") && acked && changes == step.changes) {
            for (const std::string& g : step.kind == "tat:set" ? Names{"TAT"} : Names{"GEN", "QNAV"}) {
                Record(g, clean, true);
            }
            if (navRead && Read("NAV").empty()) { // unless its read-back failed
                recs["QNAV"] = Rec{true, true, changes, Key("QNAV"), {}, believed};
            }
        }
        const Values nav = Read("NAV"); // a Set's read-back shows each field as chosen
        for (const auto& [field, text] : step.nav) {
            EXPECT_TRUE(!clean || !acked || !step.consistent || navEdits.count(field) == 0 ||
                        (nav.count(field) != 0 && nav.at(field) == text))
                << "WRONG WRITE " << at << "NAV." << field << " was set to " << text << "; the unit holds " << Fmt(nav);
        }
        if (step.reads.count("NAV") != 0 && frames.size() > step.f0) { // a Set that was off reads nothing
            navEdits.clear();
        } else if (step.kind == "main:quickset") {
            navEdits.insert("*"); // the scheme, and so every field
        }
        // The highlight marks a preset picked since, not what a read found.
        presetPicked = (presetPicked || step.kind == "gen:preset") && step.reads.count("QNAV") == 0 &&
                       step.kind != "gen:get" && step.kind != "gen:cancel" && step.kind != "gen:set";
        for (const char* g : {"NAV", "lblFirmware", "lblTxFirmware", "lblTypeNumber", "lblSerialNumber", "lblVoltage",
                              "GEN", "QNAV", "TAT"}) { // every open window, the ones behind included
            Verify(g, at);
        }
        // 4. The step ended: the window on top is idle, with its Get on.
        const Level level = tat != nullptr ? Multi : gen != nullptr ? General : Main;
        Settled(Top(level), level == Multi                          ? Names{"cmdTATRead"}
                            : level == General                      ? Names{"cmdGenRead_" + Panel()}
                            : TpdrFirmware.FWVersion() != FWUnknown ? Names{"cmdStatus", "cmdRead"}
                                                                    : Names{"cmdStatus"});
        // What a read or Cancel replaces is no longer chosen; then what this step chose.
        const char by = step.kind == "gen:get" || step.kind == "gen:cancel"   ? 'g'
                        : step.kind == "tat:get" || step.kind == "tat:cancel" ? 't'
                        : step.reads.count("NAV") != 0                        ? 'm'
                                                                              : 0;
        std::erase_if(chosen,
                      [&](const auto& c) { return c.second == by || (c.second == 'g' && step.kind == "main:exit"); });
        if (Choices.count(step.kind) != 0) {
            for (Addr a : Choices.at(step.kind)) {
                chosen[a] = step.kind[0];
            }
        }
        passes = 0;
    }
    // The progress Cancel a window shows while it exchanges, if any.
    static QPushButton* Cancel(const QWidget* top)
    {
        for (const char* name : {"cmdProgressCancel_0", "cmdProgressCancel_1", "cmdProgressCancel", "cmdCancel"}) {
            if (auto* b = top->findChild<QPushButton*>(name); b != nullptr && b->isVisible()) {
                return b;
            }
        }
        return nullptr;
    }
    void Settled(const QWidget* top, const Names& gets)
    {
        for (const std::string& name : gets) {
            const QWidget* get = top->findChild<QWidget*>(QString::fromStdString(name));
            EXPECT_TRUE(Cancel(top) == nullptr && get->isEnabled())
                << "NOT IDLE at '" << lines.back() << "': " << (Cancel(top) ? "its Cancel shows" : name + " is off");
        }
    }

    // ---- What each group shows as read, and the record of its last read.
    struct Rec {
        bool have = false, trusted = false;
        uint32_t changes = 0;
        std::string key; // the unit and the bytes its values came from
        Values shown;
        size_t unit = 0; // the unit the program then knew
    };
    bool QuickSet() const { return !gen->findChild<QWidget*>("cmdQuickSet")->isHidden(); }
    Values Read(const std::string& g) const
    {
        Values s;
        if (g.starts_with("lbl")) {
            PutRead(s, win.get(), g, true);
            if (g == "lblDepthOnOff" && win->cmdDepth->isEnabled()) {
                s["more"] = "on";
            }
        } else if (g == "NAV") {
            for (QGroupBox* frame : win->fraNavScheme) {
                if (frame != win->fraNavScheme[0] && ShownUnder(frame, win.get()) && frame->isEnabled()) {
                    for (const char* n : {"txtAddress_2", "txtAddress_3", "lblAddr", "cboHPRChan", "cboOrvaneIntChan_3",
                                          "cboOrvaneReplyChan", "lblInterrogate_4", "cboProgrammedChan",
                                          "cboDualModeChan", "lblEndcap"}) {
                        PutRead(s, win.get(), n);
                    }
                    s["set"] = win->cmdSet->isEnabled() ? "on" : "off";
                }
            }
        } else if (g == "TAT" && tat != nullptr) {
            for (int n = 0; n < 10; ++n) {
                PutRead(s, tat, "cboTAT_" + std::to_string(n), true);
            }
        } else if (gen == nullptr || g == "TAT") {
        } else if (const bool quick = QuickSet() || Panel() == "1"; g == "QNAV" && quick) {
            for (const char* n : {"cboOrvaneIntChan", "txtAddress", "lblQuickData_0", "lblQuickData_1"}) {
                PutRead(s, gen, n);
            }
            for (int i = 1; i <= 9 && s.count("lblQuickData_1") != 0; ++i) {
                if (gen->findChild<QWidget*>(Forms::ArrayName("cmdQuick", i))->font().pointSize() == 28) {
                    s["preset"] = PresetNames[static_cast<size_t>(i - 1)];
                }
            }
        } else if (g ==
                   "GEN") { // the quick-set panel shows only in quick-set mode, where the address is the navigation's
            for (const char* n :
                 {"cboGain_0", "cboIdentity", "lblIdentity_1", "cboGenTAT", "txtPulseWidth", "cboBlock",
                  "txtRelayOnTime", "cboPowerLevel_0", "cboVariableTAT", "cboAddress",
                  quick ? "cboGain_1" : "txtAddress", quick ? "cboPowerLevel_1" : "", quick ? "lblQuickData_2" : ""}) {
                PutRead(s, gen, n);
            }
        }
        return s;
    }
    std::string Key(const std::string& g) const
    {
        std::string key = std::to_string(cur) + ":";
        if (g == "GEN" && gen != nullptr) { // the fields it shows follow the main window's navigation
            key +=
                (QuickSet() ? "Q" : "G") + Panel() + (gen->findChild<QWidget*>("fraOrvane")->isHidden() ? "h:" : "o:");
        }
        return key + Of(g == "NAV"             ? Nav
                        : g == "GEN"           ? Gen(0, 13)
                        : g == "QNAV"          ? Nav + Gen(0, 13)
                        : g == "TAT"           ? Tats
                        : g == "lblDepthOnOff" ? Span(false, 0xA0, 4, 0, 1)
                                               : Addrs{});
    }
    std::string Of(const Addrs& bytes) const
    {
        std::string key;
        for (Addr a : bytes) {
            const auto b = model.Bytes().find(a);
            key += std::to_string(b == model.Bytes().end() ? 0 : b->second) + " ";
        }
        return key;
    }
    // What a clean read of the unit's bytes shows in a field of any window: a
    // multi-TAT entry as its word reads, others as a clean read showed them ("" not known).
    std::string Held(const std::string& g, const std::string& f) const
    {
        if (const auto alike = Alike.find(g + "." + f); g != "TAT") {
            const auto t = alike == Alike.end() ? texts.end() : texts.find(Held(alike->second));
            return t == texts.end() ? "" : t->second;
        }
        const int n = f.back() - '0';
        std::stringstream word(Of(Span(false, 0xE2, 0, (n < 5 ? 0 : 0x10) + 2 * (n % 5), 2)));
        unsigned hi = 0, lo = 0;
        word >> hi >> lo;
        return VB::NumText(clsMultiTAT::ValueOf(static_cast<uint16_t>(hi << 8 | lo)));
    }
    std::string Held(const Addrs& bytes) const
    {
        return std::to_string(bytes[0]) + "|" + std::to_string(cur) + "|" + Of(bytes);
    }
    // Spanwave navigation on the cable: an F firmware, an Orvane channel and code groups not blank.
    bool SpanwaveHeld() const
    {
        const uint8_t c = model.Peek(false, 0xA0, 4, 8);
        return Units[cur][0].ends_with('F') && c >= 0x10 && c <= 0x90 && (c & 0xF) == 0 &&
               Of(Span(true, 0, 0, 8, 4)) + Of(Span(true, 0, 0, 16, 4)) != "255 255 255 255 255 255 255 255 ";
    }
    // After a read, or a write: a clean one of the same bytes shows what it showed before.
    void Record(const std::string& g, bool clean, bool written = false)
    {
        if ((g == "TAT" && tat == nullptr) || ((g == "GEN" || g == "QNAV") && gen == nullptr)) {
            return;
        }
        Rec r{true, clean, FirmwareReader::Changes(), Key(g), Read(g), believed};
        const bool tatRead = std::any_of(model.Frames().begin() + step.f0, model.Frames().end(),
                                         [](const std::string& f) { return f.starts_with("!R\xE2"); });
        EXPECT_TRUE(!clean || cur != believed || !r.shown.empty() ||
                    !((g == "QNAV" && step.kind == "gen:get" && QuickSet() && SpanwaveHeld()) ||
                      (g == "TAT" && step.kind == "tat:get" && tatRead)))
            << "NOT READ at '" << lines.back() << "': a clean Get shows no " << g;
        if (g == "QNAV" && !written) { // the main window's values, read before the dialog opened
            r.trusted = clean && recs["NAV"].trusted && recs["NAV"].changes == r.changes && navEdits.empty() &&
                        step.kind == "main:settings";
            r.changes = recs["NAV"].changes;
            r.unit = recs["NAV"].unit;
        }
        if (cur != believed) { // a read that never reached the unit on the cable tells nothing of it
            r.trusted = false;
            r.key = "?";
        }
        if (r.trusted && !r.shown.empty()) { // a group shown as not read tells nothing
            const auto [was, fresh] = learned.emplace(g + "|" + r.key, r.shown);
            EXPECT_TRUE(fresh || was->second == r.shown)
                << "SHOWN AS READ at '" << lines.back() << "': " << g << (written ? " written" : " read") << " shows "
                << Fmt(r.shown) << ", a clean read of that memory " << Fmt(was->second);
            for (const auto& [field, text] : r.shown) {
                if (const auto alike = Alike.find(g + "." + field); alike != Alike.end()) {
                    texts.emplace(Held(alike->second), text); // Verify judges it
                }
            }
        }
        recs[g] = r;
    }
    // Between reads: nothing shows as read once another unit was found; else
    // what the last read showed, or after a faulty one what a clean one shows.
    void Verify(const std::string& g, const std::string& at)
    {
        const Values now = Read(g);
        const Rec& r = recs[g];
        if (now.empty()) {
            return;
        }
        if (!r.have || r.changes != FirmwareReader::Changes() || r.unit != believed) {
            ADD_FAILURE() << "SHOWN AS READ " << at << g << " shows " << Fmt(now)
                          << " as read, not read since another unit was found";
            return;
        }
        const auto clean = learned.find(g + "|" + r.key);
        // After a faulty read, what a clean one of the bytes showed, or else what it showed itself.
        const Values& ref = !r.trusted && clean != learned.end() ? clean->second : r.shown;
        for (const auto& [field, text] : now) {
            const std::string held = Held(g, field); // judged against the unit's memory
            EXPECT_TRUE(held.empty() || held == text || cur != believed ||
                        (g == "NAV" && navEdits.count(field) + navEdits.count("*") != 0))
                << "SHOWN AS READ " << at << g << "." << field << " shows " << text << " as read; the unit holds "
                << held;
            // The highlight follows the general values too: it is held to the
            // group's own record only, not to what another read of the bytes showed.
            EXPECT_TRUE((g == "NAV" && (navEdits.count(field) != 0 || navEdits.count("*") != 0)) ||
                        (g == "QNAV" && field == "preset" && (presetPicked || !r.trusted)) ||
                        (ref.count(field) != 0 ? ref.at(field) == text : !r.trusted && &ref != &r.shown))
                << "SHOWN AS READ " << at << g << "." << field << " shows " << text << " as read; read: " << Fmt(ref);
        }
    }

    struct Click {
        std::string name;
        size_t frames, boxes;
    };
    struct Step {
        std::string kind;
        size_t f0, b0, mute;
        uint32_t changes;
        std::map<Addr, char> chosen;
        bool consistent, stopped = false, clean = true, busySet = false, mainRead = false;
        Names faults = {};
        std::set<std::string> reads = {};
        size_t found = SIZE_MAX, stopAt = SIZE_MAX; // frames sent when the unit was found; when stopped
        Values nav = {};                            // the navigation as a Set found it
    } step{};

    std::mt19937 rng;
    int left = 0, passes = 0;
    bool replaying = false, stuck = false, known = false, presetPicked = false;
    std::set<std::string> navEdits; // main window fields edited since its last read; "*" all
    std::deque<std::string> script;
    Names lines;
    std::vector<std::pair<std::string, std::string>> pending;
    std::vector<Sim::TransponderModel> units;
    size_t cur = 0, believed = 0;
    std::map<Addr, char> chosen; // by window: m main, g general, t multi-TAT
    std::map<std::string, Rec> recs;
    std::map<std::string, Values> learned; // group and key: what a clean read showed
    std::map<std::string, std::string> texts; // field alike and bytes: what a clean read showed
    std::vector<Click> clicks;
    Filter clicker, mainBusy; // mainBusy: the main window exchanges for a dialog
    std::unique_ptr<QTimer> stopper;
    std::pair<QWidget*, std::vector<QPointer<QWidget>>> watched; // the window on top, its controls
    std::optional<FirmwareFollower> learns;
    frmGenSettings* gen = nullptr;
    frmMultiTAT* tat = nullptr;
};

class SequenceWalk : public SequenceTest, public ::testing::WithParamInterface<unsigned> {};

TEST_P(SequenceWalk, ShowsAndWritesOnlyWhatTheUnitHolds) { Walk(GetParam(), 25); }

// Sixteen seeds; SEQ_SEEDS=first:count runs others.
std::vector<unsigned> Seeds()
{
    unsigned first = 1, count = 16;
    if (const char* env = std::getenv("SEQ_SEEDS")) {
        std::sscanf(env, "%u:%u", &first, &count);
    }
    std::vector<unsigned> seeds(count);
    std::iota(seeds.begin(), seeds.end(), first);
    return seeds;
}
INSTANTIATE_TEST_SUITE_P(Seeds, SequenceWalk, ::testing::ValuesIn(Seeds()));

// ---- Walks that failed, made plain.

// Get after a preset shows the unit's navigation, and Set then writes none of the preset's.
TEST_F(SequenceTest, GetAfterAPresetShowsTheUnitsNavigation) { Replay({"status", "settings; preset B2; get; set"}); }

// Set stays off while Get Status runs, and while a Set's read-back runs.
TEST_F(SequenceTest, SetStaysOffWhileGetStatusRuns) { Replay({"status", "idle status"}); }
TEST_F(SequenceTest, SetStaysOffWhileItsReadBackRuns)
{
    Replay({"swap Vers1.20F", "status", "chan cboOrvaneIntChan_3 6", "idle set"});
}

// Once another unit is found, a preset shows nothing of the earlier unit as read.
TEST_F(SequenceTest, PresetAfterAnotherUnitShowsNoChannelAsRead)
{
    Replay({"swap Vers2.10F", "status", "settings; swap Vers2.05F; get; preset A1"});
}

// On a unit without a turn-around time, a preset's shows as edited.
TEST_F(SequenceTest, PresetOnAUnitWithoutATurnAroundTime)
{
    Replay({"status", "settings; swap Vers2.00D; get; preset B1"});
}

// A preset picked once the values were found to be another unit's shows as a
// change, not as what the unit holds.
TEST_F(SequenceTest, PresetAfterTheValuesWereForgottenShowsAsAChange)
{
    Replay({"status", "settings; swap Vers2.10F; preset A2; set; preset A1"});
}

// A click queued on Set while a Set that wrote nothing pauses is not let in:
// it would start a second Set inside the first.
TEST_F(SequenceTest, ASetQueuedDuringASetIsNotLetIn)
{
    Replay({"swap Vers2.20F", "status", "chan cboHPRChan 0", "idle set"});
}

// After a write the highlight shows the preset the values now make.
TEST_F(SequenceTest, AWriteLeavesTheHighlightOfWhatTheUnitHolds)
{
    Replay({"swap Vers2.10F", "status",
            "settings; preset B3; lose F|00|00|00; set; panel; tat 250.0; set; get; tat 500.0; set; cancel"});
}

// The battery-life estimate that finds another unit shows that unit's firmware.
TEST_F(SequenceTest, BatteryLifeOfAnotherUnitShowsItsFirmware)
{
    Replay({"status", "swap Vers1.20F", "battlife"});
}

// Another unit's multi-TAT dialog shows nothing of the table written to the unit before.
TEST_F(SequenceTest, MultiTATOfAnotherUnitShowsNoTable)
{
    Replay({"swap Vers1.11S", "status", "settings; multitat; get; entry 3 437.5; set; exit; exit", "swap Vers2.00D",
            "settings; multitat"});
}

// Nothing brings the earlier unit's navigation back: neither Cancel nor a
// multi-TAT read that found another unit.
TEST_F(SequenceTest, CancelAfterAnotherUnitBringsNoNavigationBack)
{
    Replay({"status", "settings; swap Vers2.10F; get; cancel"});
}
TEST_F(SequenceTest, MultiTATReadOfAnotherUnitBringsNoNavigationBack)
{
    Replay({"status", "settings; swap Vers2.00D; get; multitat; swap Vers1.11S; get; exit"});
}

// A read that finds another unit is followed at once by the windows behind the
// one on top; so is a Pending answer after a code it cannot settle to.
TEST_F(SequenceTest, TheNavigationBehindADialogFollowsItsRead) { Replay({"status", "swap Vers2.20F", "settings"}); }
TEST_F(SequenceTest, BehindMultiTat)
{
    Replay({"swap Vers1.11S", "status", "settings; multitat; swap Vers2.20F; get"});
}
TEST_F(SequenceTest, PendingAfterAnotherFamily) { Replay({"status", "swap Vers1.11S", "mute 1", "get"}); }

// The general dialog's Set is off while its Get runs; in quick-set mode that
// Get reads the navigation again once it is no longer the unit's.
TEST_F(SequenceTest, SetIsOffWhileTheGeneralGetRuns) { Replay({"status", "settings; gain Low; get"}); }
TEST_F(SequenceTest, QuickSetGetReadsTheNavigationAgain) { Replay({"status", "settings; swap Vers2.10F; get"}); }

// Quickset starts from the navigation as read, not from an edit never sent.
TEST_F(SequenceTest, QuickSetShowsNoUnsentEditAsRead)
{
    Replay({"status", "swap Vers1.20F", "settings; exit", "chan cboOrvaneIntChan_3 6", "quickset"});
}

// A write cancelled before its answer was taken leaves the value not read:
// Cancel brings back no value the unit may no longer hold.
TEST_F(SequenceTest, AnUnansweredWriteLeavesTheValueNotRead)
{
    Replay({"swap Vers2.10F", "status", "get", "settings; preset C1; stop 7; set; cancel"});
}

// A quick-set Set whose read-back is lost leaves the navigation not read.
TEST_F(SequenceTest, LostReadBackLeavesTheNavigationNotRead)
{
    Replay({"status", "settings; preset B2; lose r|80|00|00; set"});
}

// A Get Status cancelled before the voltage shows no voltage of the read before.
TEST_F(SequenceTest, CancelledGetStatusShowsNoEarlierVoltage) { Replay({"status", "stop 4", "status"}); }

// The scheme a unit was read in is its own: the quick-set Get that reads the
// navigation of another unit writes none of the Spanwave chain with the gain.
TEST_F(SequenceTest, QuickSetGetKeepsTheSchemeRead) { Replay({"status", "swap Vers1.20F", "settings; gain High; set"}); }

// An edit kept for the next opening shows only against a table read from this unit.
TEST_F(SequenceTest, AnUnsentEntryNeverShowsAsRead)
{
    Replay({"swap Vers1.11S", "status", "settings; multitat; get; entry 6 400; exit; exit", "stop 2", "get",
            "settings; multitat"});
}

// Settings opens from the navigation as read, never from an address edited
// under another scheme and never sent.
TEST_F(SequenceTest, SettingsShowsNoUnsentAddress)
{
    Replay({"swap Vers2.10F", "status", "click optReplyType_1", "addr 3305", "click optReplyType_2", "settings"});
}

} // namespace

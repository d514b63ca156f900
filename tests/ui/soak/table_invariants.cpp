#include "table_invariants.h"

#include "engine/game.h"
#include "ui/common/image_array.h"
#include "ui/common/image_control.h"
#include "ui/common/menu_bar.h"
#include "ui/common/surface_widget.h"
#include "ui/common/text_panel.h"
#include "ui/game/form1.h"

#include <QAction>

#include <map>
#include <sstream>

namespace pairly {
namespace {

class Report {
public:
    template <typename... Parts>
    void fail(const Parts&... parts)
    {
        std::ostringstream line;
        (line << ... << parts);
        lines.push_back(line.str());
    }
    std::vector<std::string> lines;
};

bool hidden(const ImageControl* control)
{
    return !control || control->isHidden();
}

void checkPictures(Form1& form, const TableModel& m, Report& r)
{
    std::map<const void*, int> cards;
    for (int16_t c = 1; c <= m.ncarte; ++c) {
        const ImageControl* face = form.Img()->element(c);
        if (!face || !face->picture()) {
            r.fail("card ", c, " has no picture");
            continue;
        }
        ++cards[face->picture().get()];
    }
    for (const auto& [picture, count] : cards) {
        if (count != 2)
            r.fail("a picture lies on ", count, " cards");
    }
}

// The table is laid out unless the exit control has sent its backs away.
void checkCards(Form1& form, const TableModel& m, Report& r)
{
    const QRect table = form.surface().rect();
    const ImageArray* backs = form.backs(m.ncarte);
    int faceUp = 0;
    int inSight = 0;
    for (int16_t c = 1; c <= m.ncarte; ++c) {
        const ImageControl* face = form.Img()->element(c);
        const ImageControl* back = backs->element(c);
        if (!back) {
            r.fail("card ", c, " has no back");
            continue;
        }
        if (!table.intersects(back->geometry()))
            continue;
        ++inSight;
        if (hidden(face) && back->isHidden())
            r.fail("card ", c, " shows neither face nor back");
        faceUp += !hidden(face);
    }
    if (inSight != 0 && inSight != m.ncarte)
        r.fail(inSight, " of ", m.ncarte, " backs on the table");
    if (inSight == 0 || m.stato == TableModel::kLeaveTable)
        return;
    int inMove = 0;
    for (int16_t c : {m.prima, m.seconda})
        inMove += c != 0 && !hidden(form.Img()->element(c));
    if (faceUp - inMove < m.trovate)
        r.fail(m.trovate, " cards found but only ", faceUp - inMove, " face up outside the move");
}

void checkModel(Form1& form, const TableModel& m, Report& r)
{
    if (m.ncarte != 20 && m.ncarte != 48 && m.ncarte != 80)
        r.fail("ncarte ", m.ncarte);
    if (m.trovate % 2 != 0 || m.trovate < 0 || m.trovate > m.ncarte)
        r.fail("trovate ", m.trovate, " of ", m.ncarte);
    for (int16_t c : {m.prima, m.seconda, m.cliccata}) {
        if (c < 0 || c > m.ncarte)
            r.fail("move card ", c, " of ", m.ncarte);
    }
    if (m.prima != 0 && m.prima == m.seconda)
        r.fail("card ", m.prima, " is both cards of the move");
    if (!form.game().loopAlive())
        r.fail("no game loop alive");
}

void checkMenus(Form1& form, const TableModel& m, Report& r)
{
    const MenuBar& menu = form.menu();
    const int sizeChecks = menu.action(u"venti")->isChecked() + menu.action(u"quarantotto")->isChecked()
                           + menu.action(u"ottanta")->isChecked();
    if (sizeChecks != 1)
        r.fail(sizeChecks, " sizes checked");
    const char16_t* expected = m.ncarte == 20 ? u"venti" : m.ncarte == 48 ? u"quarantotto" : u"ottanta";
    if (!menu.action(QStringView(expected))->isChecked())
        r.fail("the checked size is not the table's ", m.ncarte);

    int songs = 0;
    for (int k = 1; k <= 10; ++k)
        songs += menu.action(u"canzoni", k)->isChecked();
    const bool all = menu.action(u"all")->isChecked();
    const bool none = menu.action(u"nomusic")->isChecked();
    if (all && none)
        r.fail("\"no music\" and \"sequential mode\" both checked");
    if (songs > 1)
        r.fail(songs, " songs checked");
    if (none && songs != 0)
        r.fail("a song checked under \"no music\"");
    if (all && songs != 1)
        r.fail("sequential mode with ", songs, " songs checked");
}

void checkPanels(Form1& form, Report& r)
{
    int shown = 0;
    for (int n = 1; n <= 3; ++n)
        shown += !form.Text(n)->isHidden();
    if (shown > 1)
        r.fail(shown, " panels visible");
}

}  // namespace

std::vector<std::string> brokenInvariants(Form1& form)
{
    Report r;
    const TableModel& m = form.game().model();
    checkModel(form, m, r);
    checkPictures(form, m, r);
    checkCards(form, m, r);
    checkMenus(form, m, r);
    checkPanels(form, r);
    return r.lines;
}

}  // namespace pairly

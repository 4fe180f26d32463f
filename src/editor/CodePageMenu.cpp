#include "editor/CodePageMenu.h"

#include "common/CodePage.h"
#include "editor/EditorSettings.h"

#include <QActionGroup>
#include <QMenu>

#include <array>
#include <cstdlib>

namespace editor {

namespace {
constexpr const char* kCodePageKey = "View/CodePage";

struct CodePageEntry
{
    const char* label;
    const char* code; // as CORVANE_CODEPAGE takes it
};

// The code pages of the channel lists met in practice, Western ones first.
constexpr std::array kEntries{
    CodePageEntry{"ISO-8859-1 (Western)", "ISO-8859-1"},
    CodePageEntry{"ISO-8859-2 (Central European)", "ISO-8859-2"},
    CodePageEntry{"ISO-8859-3 (South European)", "ISO-8859-3"},
    CodePageEntry{"ISO-8859-4 (Baltic)", "ISO-8859-4"},
    CodePageEntry{"ISO-8859-5 (Cyrillic)", "ISO-8859-5"},
    CodePageEntry{"ISO-8859-6 (Arabic)", "ISO-8859-6"},
    CodePageEntry{"ISO-8859-7 (Greek)", "ISO-8859-7"},
    CodePageEntry{"ISO-8859-8 (Hebrew)", "ISO-8859-8"},
    CodePageEntry{"ISO-8859-9 (Turkish)", "ISO-8859-9"},
    CodePageEntry{"ISO-8859-10 (Nordic)", "ISO-8859-10"},
    CodePageEntry{"ISO-8859-11 (Thai)", "ISO-8859-11"},
    CodePageEntry{"ISO-8859-13 (Baltic Rim)", "ISO-8859-13"},
    CodePageEntry{"ISO-8859-14 (Celtic)", "ISO-8859-14"},
    CodePageEntry{"ISO-8859-15 (Western, euro)", "ISO-8859-15"},
    CodePageEntry{"ISO-8859-16 (South-Eastern European)", "ISO-8859-16"},
    CodePageEntry{"Windows-1250 (Central European)", "1250"},
    CodePageEntry{"Windows-1251 (Cyrillic)", "1251"},
    CodePageEntry{"Windows-1252 (Western)", "1252"},
    CodePageEntry{"Windows-1253 (Greek)", "1253"},
    CodePageEntry{"Windows-1254 (Turkish)", "1254"},
    CodePageEntry{"Windows-1255 (Hebrew)", "1255"},
    CodePageEntry{"Windows-1256 (Arabic)", "1256"},
    CodePageEntry{"Windows-1257 (Baltic)", "1257"},
    CodePageEntry{"Windows-1258 (Vietnamese)", "1258"},
    CodePageEntry{"KOI8-R (Russian)", "KOI8-R"},
    CodePageEntry{"GBK / 936 (Simplified Chinese)", "936"},
    CodePageEntry{"Big5 / 950 (Traditional Chinese)", "950"},
    CodePageEntry{"Shift_JIS / 932 (Japanese)", "932"},
    CodePageEntry{"EUC-KR (Korean)", "EUC-KR"},
    CodePageEntry{"UTF-8", "UTF-8"},
};

bool SameCodePage(const core::CodePageInfo& a, const core::CodePageInfo& b)
{
    return (a.number != 0 && a.number == b.number)
        || QString::fromStdString(a.charset).compare(QString::fromStdString(b.charset), Qt::CaseInsensitive) == 0;
}
} // namespace

CodePageMenu::CodePageMenu(QMenu& menu)
    : QObject(&menu)
    , m_menu(menu.addMenu("&Code Page"))
    , m_group(new QActionGroup(this))
{
    m_menu->setObjectName("codePageMenu");
    m_group->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional); // a locale set may be none of these
    for (const CodePageEntry& entry : kEntries) {
        QAction* action = m_menu->addAction(entry.label);
        action->setCheckable(true);
        action->setData(QString(entry.code));
        core::CodePageInfo info;
        action->setEnabled(core::ResolveCodePage(entry.code, info)); // a set this system cannot convert
        m_group->addAction(action);
        connect(action, &QAction::triggered, this, [this, action] { (void)Choose(action->data().toString()); });
    }
    // The code page may change elsewhere (a test, a command line): the check follows when the menu opens.
    connect(m_menu, &QMenu::aboutToShow, this, &CodePageMenu::CheckCurrent);
    CheckCurrent();
}

void CodePageMenu::ApplySavedChoice()
{
    if (const char* env = std::getenv("CORVANE_CODEPAGE"); env != nullptr && *env != '\0') {
        return;
    }
    const QString saved = OpenEditorSettings()->value(kCodePageKey).toString();
    if (!saved.isEmpty()) {
        (void)core::SetInternalCodePage(saved.toStdString()); // a set no longer known leaves the default
    }
}

bool CodePageMenu::Choose(const QString& nameOrNumber)
{
    if (!core::SetInternalCodePage(nameOrNumber.toStdString())) {
        return false;
    }
    OpenEditorSettings()->setValue(kCodePageKey, nameOrNumber);
    CheckCurrent();
    emit CodePageChanged();
    return true;
}

void CodePageMenu::CheckCurrent()
{
    const core::CodePageInfo& current = core::InternalCodePage();
    for (QAction* action : m_group->actions()) {
        core::CodePageInfo info;
        const bool same
            = core::ResolveCodePage(action->data().toString().toStdString(), info) && SameCodePage(info, current);
        action->setChecked(same);
    }
}

} // namespace editor

#pragma once

#include <QObject>

class QActionGroup;
class QMenu;

namespace editor {

// View > Code Page: the usual 8-bit code pages the receivers' names are written in, the one in
// force checked. A choice replaces the internal code page at once and is kept in the user's
// settings for the next start, where CORVANE_CODEPAGE, when set, still wins. Only the way names
// are read changes; the bytes in the database stay as they are.
class CodePageMenu final : public QObject
{
    Q_OBJECT

public:
    // Adds the submenu to menu.
    explicit CodePageMenu(QMenu& menu);

    // At start: installs the code page the user chose last, unless CORVANE_CODEPAGE names one.
    static void ApplySavedChoice();
    // Installs a code page (any form CORVANE_CODEPAGE takes) as if chosen from the menu; false
    // when it is unknown here, and nothing changes then.
    [[nodiscard]] bool Choose(const QString& nameOrNumber);
    QMenu* Menu() const { return m_menu; }

signals:
    // The internal code page changed: every name shown must be read again.
    void CodePageChanged();

private:
    void CheckCurrent();

    QMenu* m_menu;
    QActionGroup* m_group;
};

} // namespace editor

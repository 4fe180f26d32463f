#pragma once

#include "edit/EditChange.h"

#include <string>

namespace core {

class CProgDb;

// One undoable change of the database, made through CEditHistory. An edit is built with its
// arguments (ids, a field, a value), checks them against the database when first applied and from
// then on keeps the places of the nodes it touched, so undo and redo give back exactly the same
// nodes, ids, records and order.
class IEdit
{
public:
    virtual ~IEdit() = default;

    // Checks and makes the change. False when it cannot be made (unknown ids, a value too wide...):
    // then nothing changed. An edit that finds nothing to change succeeds with Change().Any() false.
    [[nodiscard]] virtual bool Apply(CProgDb& db) = 0;
    // Takes the change back; the lists are exactly as Apply or Redo left them.
    virtual void Undo(CProgDb& db) = 0;
    // Makes the change again; the lists are exactly as Undo left them.
    virtual void Redo(CProgDb& db) = 0;

    // What Apply, Undo and Redo change (the same lists each time).
    virtual EditChange Change() const = 0;
    // What the Edit menu names it ("Delete 3 Programs", "Edit ServiceId").
    virtual std::string Name() const = 0;

protected:
    IEdit() = default;
    IEdit(const IEdit&) = default;
    IEdit& operator=(const IEdit&) = default;
};

} // namespace core

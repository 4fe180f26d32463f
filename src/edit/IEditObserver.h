#pragma once

#include "edit/EditChange.h"

namespace core {

// Hears every change the edit history makes to the database (do, undo, redo), after it is made and
// after the history's own state (undo and redo names, modified) is up to date.
class IEditObserver
{
public:
    virtual ~IEditObserver() = default;
    virtual void DatabaseEdited(const EditChange& change) = 0;

protected:
    IEditObserver() = default;
    IEditObserver(const IEditObserver&) = default;
    IEditObserver& operator=(const IEditObserver&) = default;
};

} // namespace core

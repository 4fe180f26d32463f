#pragma once

#include "edit/IEdit.h"

#include <cstddef>
#include <memory>

namespace core {

class CProgDb;

// How many programs an order-like edit matched in the reference, of how many.
struct OrderLikeCounts
{
    std::size_t matched = 0;
    std::size_t programs = 0;
};

// Puts the programs in the order of the reference's programs (matched as ReferenceRanks says);
// the unmatched ones keep their relative order after the matched ones. The reference is read
// only while the edit is first applied, when counts (if given) are filled in; neither needs to
// outlive that. Named "Order Like Reference".
std::unique_ptr<IEdit> OrderLike(const CProgDb& reference, OrderLikeCounts* counts = nullptr);

} // namespace core

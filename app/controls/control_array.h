#pragma once
// Like controls sharing one name and one set of handlers, told apart by Index.
// Label1(5) reads as in the control table.

#include <cstdint>
#include <map>

namespace velmorant {

template <class Control> class ControlArray {
public:
    void Add(std::int16_t index, Control* member) { members_[index] = member; }
    Control* operator()(std::int16_t index) const { return members_.at(index); }
    const std::map<std::int16_t, Control*>& Members() const { return members_; }

private:
    std::map<std::int16_t, Control*> members_;
};

} // namespace velmorant

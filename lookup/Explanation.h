#pragma once

#include <string>
#include <vector>

namespace qimlar {

// The sentences of a lookup's explanation, gathered only for those who asked for them: with no
// list to gather into, what is said goes nowhere.
class Steps
{
public:
    explicit Steps(std::vector<std::string>* into) : into_(into) {}
    explicit operator bool() const { return into_ != nullptr; }
    void say(const std::string& sentence) const
    {
        if (into_)
            into_->push_back(sentence);
    }

private:
    std::vector<std::string>* into_;
};

// "a", "a and b", "a, b and c".
inline std::string inProse(const std::vector<std::string>& items)
{
    std::string text;
    for (std::size_t i = 0; i < items.size(); ++i)
        text += (i == 0 ? "" : i + 1 == items.size() ? " and " : ", ") + items[i];
    return text;
}

} // namespace qimlar

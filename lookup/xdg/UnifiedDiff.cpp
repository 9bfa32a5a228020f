#include "xdg/UnifiedDiff.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace qimlar::xdg {

namespace {

constexpr std::size_t context = 3;

// Lines with their newline; a last line without one differs from the same text with one.
std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size() - 1) + 1;
        lines.push_back(text.substr(start, end - start));
        start = end;
    }
    return lines;
}

enum class Op { Same, Removed, Added };
struct Step
{
    Op op;
    std::size_t line; // in the old text for Same and Removed, in the new one for Added
};

// A shortest edit script: common ends first, then the longest common subsequence of the middle,
// which for a list and its change is a few lines.
std::vector<Step> editScript(const std::vector<std::string>& a, const std::vector<std::string>& b)
{
    std::size_t prefix = 0;
    while (prefix < a.size() && prefix < b.size() && a[prefix] == b[prefix])
        ++prefix;
    std::size_t suffix = 0;
    while (suffix < a.size() - prefix && suffix < b.size() - prefix &&
           a[a.size() - 1 - suffix] == b[b.size() - 1 - suffix])
        ++suffix;
    const std::size_t n = a.size() - prefix - suffix, m = b.size() - prefix - suffix;
    // common[i][j]: the longest common subsequence of the middles from i and j on.
    std::vector<std::vector<std::size_t>> common(n + 1, std::vector<std::size_t>(m + 1, 0));
    for (std::size_t i = n; i-- > 0;)
        for (std::size_t j = m; j-- > 0;)
            common[i][j] = a[prefix + i] == b[prefix + j]
                               ? common[i + 1][j + 1] + 1
                               : std::max(common[i + 1][j], common[i][j + 1]);
    std::vector<Step> steps;
    for (std::size_t i = 0; i < prefix; ++i)
        steps.push_back({Op::Same, i});
    std::size_t i = 0, j = 0;
    while (i < n || j < m) {
        if (i < n && j < m && a[prefix + i] == b[prefix + j]) {
            steps.push_back({Op::Same, prefix + i++});
            ++j;
        } else if (i < n && (j == m || common[i + 1][j] >= common[i][j + 1])) {
            // diff prints a change's removed lines before its added ones.
            steps.push_back({Op::Removed, prefix + i++});
        } else {
            steps.push_back({Op::Added, prefix + j++});
        }
    }
    for (std::size_t k = 0; k < suffix; ++k)
        steps.push_back({Op::Same, a.size() - suffix + k});
    return steps;
}

std::string range(std::size_t start, std::size_t count)
{
    // An empty range names the line before it.
    const std::size_t first = count == 0 ? start : start + 1;
    return count == 1 ? std::to_string(first) : std::to_string(first) + "," + std::to_string(count);
}

std::string shown(char mark, const std::string& line)
{
    if (line.ends_with('\n'))
        return mark + line;
    return mark + line + "\n\\ No newline at end of file\n";
}

} // namespace

std::string unifiedDiff(const std::optional<std::string>& before, const std::string& after,
                        const std::string& path)
{
    const auto a = linesOf(before.value_or("")), b = linesOf(after);
    if (a == b && before)
        return {};
    const std::vector<Step> steps = editScript(a, b);
    std::string diff = "--- " + (before ? path : "/dev/null") + "\n+++ " + path + "\n";
    // Old and new line numbers where each step starts.
    std::vector<std::size_t> oldAt(steps.size() + 1), newAt(steps.size() + 1);
    for (std::size_t k = 0; k < steps.size(); ++k) {
        oldAt[k + 1] = oldAt[k] + (steps[k].op != Op::Added);
        newAt[k + 1] = newAt[k] + (steps[k].op != Op::Removed);
    }
    std::size_t k = 0;
    while (k < steps.size()) {
        while (k < steps.size() && steps[k].op == Op::Same)
            ++k;
        if (k == steps.size())
            break;
        // A hunk runs from context lines before its first change to context lines after its
        // last, taking in every change that follows within twice the context.
        const std::size_t start = k >= context ? k - context : 0;
        std::size_t last = k;
        for (std::size_t next = k + 1; next < steps.size() && next - last <= 2 * context + 1;
             ++next)
            if (steps[next].op != Op::Same)
                last = next;
        const std::size_t stop = std::min(last + 1 + context, steps.size());
        diff += "@@ -" + range(oldAt[start], oldAt[stop] - oldAt[start]) + " +" +
                range(newAt[start], newAt[stop] - newAt[start]) + " @@\n";
        for (std::size_t s = start; s < stop; ++s) {
            const Step& step = steps[s];
            const char mark = step.op == Op::Same ? ' ' : step.op == Op::Removed ? '-' : '+';
            diff += shown(mark, step.op == Op::Added ? b[step.line] : a[step.line]);
        }
        k = stop;
    }
    return diff;
}

} // namespace qimlar::xdg

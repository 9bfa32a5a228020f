#include "xdg/EnvOptions.h"

#include "xdg/CommandLine.h"

namespace qimlar::xdg {

namespace {

// One of env's options, and the value it takes: in the word itself or as the next word.
struct EnvOption
{
    bool takesValue = false;
    bool hasValue = false; // the word itself holds it
    bool split = false;    // -S: the value is more words for env
    std::string value;
};

EnvOption envOption(const std::string& word)
{
    EnvOption option;
    if (word.starts_with("--")) {
        const auto equals = word.find('=');
        const std::string name = word.substr(0, equals);
        option.takesValue = name == "--unset" || name == "--chdir" || name == "--split-string";
        option.split = name == "--split-string";
        if (equals != std::string::npos) {
            option.value = word.substr(equals + 1);
            option.hasValue = true;
        }
    } else if (const auto at = word.find_first_of("uCS", 1); at != std::string::npos) {
        option.takesValue = true;
        option.split = word[at] == 'S';
        option.hasValue = at + 1 < word.size();
        option.value = word.substr(at + 1);
    }
    return option;
}

} // namespace

std::size_t afterEnv(std::vector<std::string>& words, std::size_t from)
{
    std::size_t i = from;
    bool optionsEnded = false;
    for (; i < words.size(); ++i) {
        const std::string word = words[i];
        if (!optionsEnded && word == "--") {
            optionsEnded = true;
            continue;
        }
        if (optionsEnded || word.empty() || word[0] != '-') {
            if (word.find('=') == std::string::npos)
                break; // the program
            continue;  // NAME=VALUE
        }
        if (word == "-")
            continue; // the old spelling of -i
        EnvOption option = envOption(word);
        if (option.takesValue && !option.hasValue && i + 1 < words.size())
            option.value = words[++i];
        if (option.split) {
            if (const auto more = shellWords(option.value))
                words.insert(words.begin() + static_cast<std::ptrdiff_t>(i) + 1, more->begin(),
                             more->end());
        }
    }
    return i;
}

} // namespace qimlar::xdg

#include "Options.h"

namespace qimlar::which {

namespace {

// A short option, alone or among others joined to it. False when there is no such option.
bool takeShort(char letter, Options& options)
{
    switch (letter) {
    case 'z':
        options.separator = '\0';
        return true;
    case 'm':
        options.mime = true;
        return true;
    case 'h':
        options.action = Options::Action::Help;
        return true;
    case 'V':
        options.action = Options::Action::Version;
        return true;
    default:
        return false;
    }
}

bool takeLong(const std::string& word, Options& options)
{
    if (word == "--json")
        options.json = true;
    else if (word == "--all")
        options.all = true;
    else if (word == "--explain")
        options.explain = true;
    else if (word == "--mime")
        options.mime = true;
    else if (word == "--dry-run")
        options.dryRun = true;
    else if (word == "--undo")
        options.action = Options::Action::Undo;
    else if (word == "--null")
        options.separator = '\0';
    else if (word == "--help")
        options.action = Options::Action::Help;
    else if (word == "--version")
        options.action = Options::Action::Version;
    else
        return false;
    return true;
}

// What changing a default takes no part of; empty when the options go together.
std::string misfit(const Options& options)
{
    using Action = Options::Action;
    if (options.dryRun && options.action != Action::SetDefault)
        return "option '--dry-run' needs '--set-default'";
    if (options.action == Action::Undo &&
        (!options.queries.empty() || options.json || !options.app.empty()))
        return "option '--undo' takes no query and no other option";
    if (options.action != Action::Answer &&
        (options.all || options.explain || !options.fromFiles.empty()))
        return "options '--all', '--explain' and '--from' only go with lookups";
    return {};
}

} // namespace

Outcome<Options> parseOptions(const std::vector<std::string>& arguments)
{
    Options options;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& word = arguments[i];
        // A lone "-" is no option: it is asked about like any other query.
        if (optionsEnded || word.size() < 2 || word[0] != '-') {
            options.queries.push_back(word);
        } else if (word == "--") {
            optionsEnded = true;
        } else if (word == "--from") {
            if (++i == arguments.size())
                return Failure{"option '--from' needs a file"};
            options.fromFiles.push_back(arguments[i]);
        } else if (word == "--set-default" || word.starts_with("--set-default=")) {
            if (word.size() == 13 && ++i == arguments.size())
                return Failure{"option '--set-default' needs a desktop entry or a program"};
            options.app = word.size() == 13 ? arguments[i] : word.substr(14);
            if (options.action == Options::Action::Answer)
                options.action = Options::Action::SetDefault;
        } else if (word.starts_with("--from=")) {
            options.fromFiles.push_back(word.substr(7));
        } else if (word[1] == '-') {
            if (!takeLong(word, options))
                return Failure{"unknown option '" + word + "'"};
        } else {
            for (std::size_t letter = 1; letter < word.size(); ++letter)
                if (!takeShort(word[letter], options))
                    return Failure{"unknown option '" + word + "'"};
        }
        // Help and version answer at once, whatever follows, as they always have.
        if (options.action == Options::Action::Help || options.action == Options::Action::Version)
            return options;
    }
    if (const std::string error = misfit(options); !error.empty())
        return Failure{error};
    return options;
}

} // namespace qimlar::which

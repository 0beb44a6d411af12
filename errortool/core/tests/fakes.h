// Test doubles for the report builder and the commands.
#pragma once

#include "anzrecord.h"
#include "anzsession.h"

#include <deque>
#include <map>
#include <string>
#include <vector>

namespace anz::test {

// Message texts by code; without a library every lookup fails.
class FakeMessages : public MessageSource {
public:
    bool library = true;
    std::map<uint32_t, std::string> texts;
    std::vector<uint32_t> asked;
    std::optional<std::string> Message(uint32_t code) override {
        asked.push_back(code);
        if (!library)
            return std::nullopt;
        auto it = texts.find(code);
        return it == texts.end() ? std::string() : it->second;
    }
};

// A registry that logs the names of the values written, in order.
class LoggingRegistry : public fw::FakeRegistry {
public:
    std::vector<std::string> writes;
    bool Write(fw::RegRoot root, const std::string& key, const std::string& name,
               const fw::RegValue& value) override {
        writes.push_back(name);
        return fw::FakeRegistry::Write(root, key, name, value);
    }
};

// The window side: answers from queues, boxes and dialogs logged.
class FakeUi : public AnzUi {
public:
    std::deque<Answer> saveAnswers;
    std::deque<bool> yesNoAnswers;
    std::deque<std::optional<std::string>> savePaths, openPaths;
    std::vector<std::string> prompts, questions, stops, fileErrors;
    std::string view, title;

    Answer AskSave(const std::string& prompt) override {
        prompts.push_back(prompt);
        Answer a = saveAnswers.empty() ? Answer::Cancel : saveAnswers.front();
        if (!saveAnswers.empty())
            saveAnswers.pop_front();
        return a;
    }
    bool AskYesNo(const std::string& q) override {
        questions.push_back(q);
        bool a = !yesNoAnswers.empty() && yesNoAnswers.front();
        if (!yesNoAnswers.empty())
            yesNoAnswers.pop_front();
        return a;
    }
    void Stop(const std::string& m) override { stops.push_back(m); }
    void FileError(const std::string& path, bool saving) override {
        fileErrors.push_back((saving ? "save " : "open ") + path);
    }
    std::optional<std::string> SavePath() override { return Pop(savePaths); }
    std::optional<std::string> OpenPath() override { return Pop(openPaths); }
    std::string ViewText() override { return view; }
    void SetViewText(const std::string& t) override { view = t; }
    void SetTitle(const std::string& t) override { title = t; }

private:
    static std::optional<std::string> Pop(std::deque<std::optional<std::string>>& q) {
        if (q.empty())
            return std::nullopt;
        auto v = q.front();
        q.pop_front();
        return v;
    }
};

}  // namespace anz::test

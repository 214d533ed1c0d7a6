#include "bench/PluginSession.h"

#include <cstdio>
#include <stdexcept>

#include "actions/ActionIdentifiers.h"
#include "hostpeer/RegistrationMessage.h"

namespace {

const char* const kNextContext = "next-key";

// How the bench starts every plug-in; only the language of the info is read.
StartupArguments BenchLaunch(int port) {
    return {port, "BENCH-UUID", "registerPlugin", R"({"application":{"language":"en"}})"};
}

bool ParseSlidePosition(const std::string& title, int& slide, int& count) {
    char rest = 0;
    return std::sscanf(title.c_str(), "%d/%d%c", &slide, &count, &rest) == 2 && slide >= 1 &&
           count >= slide;
}

}  // namespace

bool IsSetTitle(const std::string& frame, const std::string& title) {
    const auto command = ParseHostCommand(frame);
    return command && command->event == "setTitle" && command->title == title;
}

PluginSession::PluginSession(LoopbackHost& host, const BenchConfig& config) : host(host) {
    host.DiscardFrames();
    const BenchClock::time_point started = BenchClock::now();
    const StartupArguments launch = BenchLaunch(host.Port());
    process = std::make_unique<PluginProcess>(
        config.executable, launch, ChildProcess::Environment{{"PPTSIM_SCENARIO", config.scenario}});
    const auto registration = host.NextFrame(kFrameBound);
    if (!registration) {
        throw std::runtime_error("the plug-in did not register");
    }
    if (registration->text != RegistrationMessage(launch.registerEvent, launch.pluginUUID)) {
        throw std::runtime_error("unexpected first frame: " + registration->text);
    }
    timeToRegistration = registration->arrival - started;
}

PluginSession::~PluginSession() {
    if (!finished) {
        Finish();
    }
}

void PluginSession::ShowKeys(std::string_view action, const std::string& prefix, int first,
                             int count) {
    for (int index = first; index < first + count; ++index) {
        host.Send(KeyEventFrame("willAppear", action, prefix + std::to_string(index)));
    }
}

void PluginSession::LearnSlidePosition() {
    // From a periodic refresh, not from a press: nothing moves the show meanwhile, so the
    // position read is the current one.
    const auto frame = host.NextFrameMatching(
        [this](const std::string& text) {
            const auto command = ParseHostCommand(text);
            return command && command->event == "setTitle" &&
                   ParseSlidePosition(command->title, slide, slideCount);
        },
        kFrameBound);
    if (!frame) {
        throw std::runtime_error("no slide position on the play key: is a show running?");
    }
    host.DiscardFrames();
}

std::string PluginSession::NextTitle() const {
    return std::to_string(slide % slideCount + 1) + "/" + std::to_string(slideCount);
}

BenchClock::time_point PluginSession::PressNext() {
    return host.Send(KeyEventFrame("keyDown", ActionIdentifiers::Next, kNextContext));
}

void PluginSession::ReleaseNext() {
    host.Send(KeyEventFrame("keyUp", ActionIdentifiers::Next, kNextContext));
}

std::chrono::nanoseconds PluginSession::TimedNextPress() {
    const std::string expected = NextTitle();
    const BenchClock::time_point sent = PressNext();
    const auto frame = host.NextFrameMatching(
        [&expected](const std::string& text) { return IsSetTitle(text, expected); }, kFrameBound);
    if (!frame) {
        throw std::runtime_error("no title " + expected + " after a press of next");
    }
    ReleaseNext();
    Advance();
    return frame->arrival - sent;
}

std::chrono::nanoseconds PluginSession::TimedFailingNextPress() {
    const BenchClock::time_point sent = PressNext();
    const auto frame = host.NextFrameMatching(
        [](const std::string& text) {
            const auto command = ParseHostCommand(text);
            return command && command->event == "showAlert" && command->context == kNextContext;
        },
        kFrameBound);
    if (!frame) {
        throw std::runtime_error("no alert after a press of next that PowerPoint failed");
    }
    ReleaseNext();
    return frame->arrival - sent;
}

int PluginSession::Finish() {
    finished = true;
    host.Close();
    host.WaitForDisconnection(kFrameBound);
    return process->WaitForExit(kFrameBound);
}

#include "platform/linux/MessageQueues.h"

#include "platform/linux/Events.h"
#include "platform/linux/SharedWait.h"
#include "platform/linux/WindowList.h"

namespace {

LRESULT CallProcedure(const MSG& message) {
    WNDPROC procedure = WindowList::Instance().Procedure(message.hwnd);
    return procedure != nullptr
               ? procedure(message.hwnd, message.message, message.wParam, message.lParam)
               : 0;
}

}  // namespace

// Removes the thread's queue when it ends, as Windows does; whoever still waits for an answer
// from it gets 0.
class MessageQueues::ThreadExit {
public:
    explicit ThreadExit(DWORD thread) : thread(thread) {}
    ThreadExit(const ThreadExit&) = delete;
    ThreadExit& operator=(const ThreadExit&) = delete;
    ~ThreadExit() { MessageQueues::Instance().EndQueue(thread); }

private:
    DWORD thread;
};

MessageQueues::MessageQueues() : shared(SharedWait::Instance()), mutex(shared.mutex) {}

MessageQueues& MessageQueues::Instance() {
    // Never destroyed: threads that outlive main may still pump.
    static MessageQueues* const instance = new MessageQueues();
    return *instance;
}

void MessageQueues::EnsureQueue() {
    std::lock_guard<std::mutex> lock(mutex);
    OwnQueueLocked();
}

MessageQueues::Queue& MessageQueues::OwnQueueLocked() {
    const DWORD thread = GetCurrentThreadId();
    auto found = queues.find(thread);
    if (found == queues.end()) {
        thread_local ThreadExit exit(thread);
        found = queues.emplace(thread, Queue{}).first;
    }
    return found->second;
}

template <typename Add>
bool MessageQueues::DeliverLocked(DWORD thread, const Add& add) {
    auto found = queues.find(thread);
    if (found == queues.end()) {
        return false;
    }
    add(found->second);
    found->second.newInput = true;
    shared.WakeQueueWaiterLocked(thread);
    return true;
}

bool MessageQueues::Post(DWORD thread, const MSG& message) {
    std::lock_guard<std::mutex> lock(mutex);
    return DeliverLocked(thread, [&message](Queue& queue) { queue.posted.push_back(message); });
}

bool MessageQueues::Send(DWORD thread, const MSG& message, DWORD timeoutMs, bool block,
                         LRESULT& answer) {
    auto sent = std::make_shared<Sent>();
    sent->message = message;
    const WaitDeadline deadline(timeoutMs);
    std::unique_lock<std::mutex> lock(mutex);
    if (!DeliverLocked(thread, [&sent](Queue& queue) { queue.sent.push_back(sent); })) {
        return false;
    }
    for (;;) {
        if (!block) {
            AnswerSentLocked(lock);
        }
        if (sent->answered) {
            answer = sent->answer;
            return true;
        }
        // Its own queue too: a thread waiting for an answer answers what is sent to it.
        if (!deadline.WaitLocked(shared, lock, WaitReasons{nullptr, 0, GetCurrentThreadId()})) {
            // The message stays queued, as on Windows: the thread answers it when it pumps,
            // to nobody.
            return false;
        }
    }
}

bool MessageQueues::Peek(MSG& message, HWND window, UINT first, UINT last, bool remove) {
    std::unique_lock<std::mutex> lock(mutex);
    AnswerSentLocked(lock);
    Queue& own = OwnQueueLocked();
    own.newInput = false;
    for (auto posted = own.posted.begin(); posted != own.posted.end(); ++posted) {
        if (Matches(*posted, window, first, last)) {
            message = *posted;
            if (remove) {
                own.posted.erase(posted);
            }
            return true;
        }
    }
    return false;
}

DWORD MessageQueues::WaitForEventsOrInput(DWORD count, const HANDLE* events, DWORD timeoutMs,
                                          bool anyInput) {
    const WaitDeadline deadline(timeoutMs);
    std::unique_lock<std::mutex> lock(mutex);
    Events& known = Events::Instance();
    for (DWORD i = 0; i < count; ++i) {
        if (!known.ExistsLocked(events[i])) {
            return WAIT_FAILED;
        }
    }
    for (;;) {
        for (DWORD i = 0; i < count; ++i) {
            if (known.TakeLocked(events[i])) {
                return WAIT_OBJECT_0 + i;
            }
        }
        Queue& own = OwnQueueLocked();
        const bool input = anyInput ? !own.posted.empty() || !own.sent.empty() : own.newInput;
        if (input) {
            own.newInput = false;
            return WAIT_OBJECT_0 + count;
        }
        if (!deadline.WaitLocked(shared, lock, WaitReasons{events, count, GetCurrentThreadId()})) {
            return WAIT_TIMEOUT;
        }
    }
}

void MessageQueues::AnswerSentLocked(std::unique_lock<std::mutex>& lock) {
    for (;;) {
        Queue& own = OwnQueueLocked();
        if (own.sent.empty()) {
            return;
        }
        std::shared_ptr<Sent> sent = std::move(own.sent.front());
        own.sent.pop_front();
        lock.unlock();
        const LRESULT answer = CallProcedure(sent->message);
        lock.lock();
        sent->answer = answer;
        sent->answered = true;
        shared.WakeAllLocked();
    }
}

void MessageQueues::EndQueue(DWORD thread) {
    std::lock_guard<std::mutex> lock(mutex);
    auto found = queues.find(thread);
    if (found == queues.end()) {
        return;
    }
    for (const std::shared_ptr<Sent>& sent : found->second.sent) {
        sent->answered = true;
    }
    queues.erase(found);
    shared.WakeAllLocked();
}

bool MessageQueues::Matches(const MSG& message, HWND window, UINT first, UINT last) {
    const bool anyMessage = first == 0 && last == 0;
    return (window == nullptr || message.hwnd == window) &&
           (anyMessage || (message.message >= first && message.message <= last));
}

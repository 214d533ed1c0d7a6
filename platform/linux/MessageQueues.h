// The Linux stand-in's thread message queues, behind PostMessageW, SendMessageW,
// SendMessageTimeoutW, PeekMessageW and MsgWaitForMultipleObjectsEx. They share SharedWait's lock
// with the event objects, so that one wait covers both. Linux only.
#pragma once

#include <deque>
#include <map>
#include <memory>
#include <mutex>

#include "platform/Platform.h"
#include "platform/linux/SharedWait.h"

class MessageQueues {
public:
    static MessageQueues& Instance();

    // Gives the calling thread its queue, which lives as long as the thread.
    void EnsureQueue();
    bool Post(DWORD thread, const MSG& message);
    // Delivers to a window of another thread and waits for its answer; false when the answer
    // did not come within the timeout (INFINITE: none) or the thread has no queue. Without
    // block, messages sent to the calling thread are answered while it waits.
    bool Send(DWORD thread, const MSG& message, DWORD timeoutMs, bool block, LRESULT& answer);
    bool Peek(MSG& message, HWND window, UINT first, UINT last, bool remove);
    // WAIT_OBJECT_0 + i for the first of the events that is set (taking it), WAIT_OBJECT_0 +
    // count once the thread's queue holds input (anyInput: any; otherwise input that arrived
    // since the thread last looked), WAIT_TIMEOUT, or WAIT_FAILED for a handle that is no event.
    DWORD WaitForEventsOrInput(DWORD count, const HANDLE* events, DWORD timeoutMs, bool anyInput);

private:
    struct Sent {
        MSG message;
        LRESULT answer = 0;
        bool answered = false;
    };
    struct Queue {
        std::deque<MSG> posted;
        std::deque<std::shared_ptr<Sent>> sent;
        bool newInput = false;  // arrived since the thread last looked
    };
    class ThreadExit;

    MessageQueues();
    Queue& OwnQueueLocked();
    // Adds to the thread's queue (none: false) and wakes the thread if it waits for input.
    template <typename Add>
    bool DeliverLocked(DWORD thread, const Add& add);
    // Answers every message sent to the calling thread; the lock is released around each call.
    void AnswerSentLocked(std::unique_lock<std::mutex>& lock);
    void EndQueue(DWORD thread);
    static bool Matches(const MSG& message, HWND window, UINT first, UINT last);

    SharedWait& shared;
    std::mutex& mutex;
    std::map<DWORD, Queue> queues;
};

// Owning reference to a COM interface: Release on destruction, AddRef on copy.
#pragma once

#include <utility>

#include "platform/Platform.h"

template <typename Interface>
class ComPtr {
public:
    ComPtr() = default;
    // Adopts a reference the caller already owns (for example one returned in a VARIANT).
    static ComPtr Adopt(Interface* raw) {
        ComPtr owner;
        owner.pointer = raw;
        return owner;
    }
    // Takes a new reference of its own to an interface someone else owns.
    static ComPtr Share(Interface* raw) {
        if (raw != nullptr) {
            raw->AddRef();
        }
        return Adopt(raw);
    }

    ComPtr(const ComPtr& other) : pointer(other.pointer) {
        if (pointer != nullptr) {
            pointer->AddRef();
        }
    }
    ComPtr(ComPtr&& other) noexcept : pointer(std::exchange(other.pointer, nullptr)) {}
    ComPtr& operator=(ComPtr other) noexcept {
        std::swap(pointer, other.pointer);
        return *this;
    }
    ~ComPtr() { Reset(); }

    void Reset() {
        if (Interface* old = std::exchange(pointer, nullptr)) {
            old->Release();
        }
    }
    // For out-parameters: releases what is held and hands out the slot to fill.
    Interface** Receive() {
        Reset();
        return &pointer;
    }
    Interface* Get() const { return pointer; }
    Interface* operator->() const { return pointer; }
    explicit operator bool() const { return pointer != nullptr; }

private:
    Interface* pointer = nullptr;
};

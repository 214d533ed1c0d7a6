// The WebSocket library's client configuration for the host link: the library's defaults
// (Asio transport, no TLS), except for where the frames' masking keys come from.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <random>

#include <websocketpp/config/asio_no_tls_client.hpp>

// A client masks every frame it sends with a fresh random key. The library draws each key from
// std::random_device's default source, which on x86 is RDSEED; where the processor's entropy
// source runs dry (under load, and in virtual machines) each draw retries for 20-50 us, so a
// refresh of 1,000 keys spent about 45 ms on keys alone. RDRAND comes from the processor's
// DRBG, is fit for masking keys and costs nanoseconds; a processor or runtime without it keeps
// the default source.
class MaskingKeySource {
public:
    MaskingKeySource() {
        try {
            device = std::make_unique<std::random_device>("rdrand");
        } catch (const std::exception&) {
            device = std::make_unique<std::random_device>();
        }
    }

    // Sends may come from any thread.
    std::uint32_t operator()() {
        std::lock_guard<std::mutex> lock(mutex);
        return static_cast<std::uint32_t>((*device)());
    }

private:
    std::mutex mutex;
    std::unique_ptr<std::random_device> device;
};

struct HostLinkConfig : websocketpp::config::asio_client {
    using type = HostLinkConfig;
    using rng_type = MaskingKeySource;
};

#pragma once

// The caller's floating-point environment, kept across a call into the library: the exception
// flags it had raised (and no others) and its control modes (rounding, x87 precision, masks).
// Spreadsheet hosts read a raised flag as an error of their own, and SQLite and the number parsers
// raise inexact and other flags in the ordinary course.
//
// On x86 the x87 and SSE control and status words are read directly, a few cycles each, and
// written back only when the call changed them: saving and loading the whole environment costs
// hundreds of cycles, too much for the engine's readers, which are called once per value.

#include <cfenv>

namespace moru::platform {

#if defined(__GNUC__) && (defined(__i386__) || defined(__x86_64__))

class FloatingPointGuard {
public:
    FloatingPointGuard()
    {
        __asm__ __volatile__("fnstcw %0" : "=m"(m_x87Control));
        __asm__ __volatile__("fnstsw %0" : "=m"(m_x87Status));
        __asm__ __volatile__("stmxcsr %0" : "=m"(m_sse));
    }
    ~FloatingPointGuard()
    {
        unsigned short x87Control = 0, x87Status = 0;
        unsigned int sse = 0;
        __asm__ __volatile__("fnstcw %0" : "=m"(x87Control));
        __asm__ __volatile__("fnstsw %0" : "=m"(x87Status));
        __asm__ __volatile__("stmxcsr %0" : "=m"(sse));
        if (sse != m_sse) __asm__ __volatile__("ldmxcsr %0" : : "m"(m_sse));
        if ((x87Status & kX87Flags) != (m_x87Status & kX87Flags)) RestoreX87Flags();
        if (x87Control != m_x87Control) __asm__ __volatile__("fldcw %0" : : "m"(m_x87Control));
    }
    FloatingPointGuard(const FloatingPointGuard&) = delete;
    FloatingPointGuard& operator=(const FloatingPointGuard&) = delete;

private:
    static constexpr unsigned short kX87Flags = 0x3F; // invalid, denormal, zero divide, overflow, underflow, inexact

    // The x87 environment as fnstenv stores it in 32-bit protected mode (28 bytes).
    struct X87Environment {
        unsigned short control, unused1, status, unused2, tags, unused3;
        unsigned int instruction;
        unsigned short selector, opcode;
        unsigned int operand;
        unsigned short operandSelector, unused4;
    };

    void RestoreX87Flags() const
    {
        if ((m_x87Status & kX87Flags) == 0) {
            __asm__ __volatile__("fnclex");
            return;
        }
        X87Environment environment;
        __asm__ __volatile__("fnstenv %0" : "=m"(environment));
        environment.status = static_cast<unsigned short>((environment.status & ~kX87Flags) | (m_x87Status & kX87Flags));
        __asm__ __volatile__("fldenv %0" : : "m"(environment));
    }

    unsigned short m_x87Control = 0;
    unsigned short m_x87Status = 0;
    unsigned int m_sse = 0;
};

#else

class FloatingPointGuard {
public:
    FloatingPointGuard() { std::fegetenv(&m_environment); }
    ~FloatingPointGuard() { std::fesetenv(&m_environment); }
    FloatingPointGuard(const FloatingPointGuard&) = delete;
    FloatingPointGuard& operator=(const FloatingPointGuard&) = delete;

private:
    std::fenv_t m_environment;
};

#endif

} // namespace moru::platform

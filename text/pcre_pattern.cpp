#include "text/pcre_pattern.h"

#define PCRE2_CODE_UNIT_WIDTH 16
#include <pcre2.h>

namespace larkspan {
namespace {

// Far above what a listing block needs, far below a noticeable stall.
constexpr std::uint32_t kMatchLimit = 1'000'000;
constexpr std::uint32_t kDepthLimit = 50'000;
constexpr std::uint32_t kHeapLimitKiB = 64 * 1024;
constexpr std::size_t kJitStackStart = 32 * 1024;
constexpr std::size_t kJitStackMax = 4 * 1024 * 1024;

PCRE2_SPTR16 codeUnits(QStringView text) {
    return reinterpret_cast<PCRE2_SPTR16>(text.utf16());
}

QString errorMessage(int code) {
    PCRE2_UCHAR16 buffer[256];
    const int length = pcre2_get_error_message(code, buffer, std::size(buffer));
    return length < 0 ? QStringLiteral("error %1").arg(code)
                      : QString::fromUtf16(reinterpret_cast<const char16_t*>(buffer), length);
}

// PCRE2 wants one JIT stack per thread; the default one is too small for long lines.
class JitStack {
public:
    JitStack() : m_stack(pcre2_jit_stack_create(kJitStackStart, kJitStackMax, nullptr)) {}
    ~JitStack() { pcre2_jit_stack_free(m_stack); }
    JitStack(const JitStack&) = delete;
    JitStack& operator=(const JitStack&) = delete;
    pcre2_jit_stack* get() const { return m_stack; }

private:
    pcre2_jit_stack* m_stack;
};

pcre2_jit_stack* threadJitStack(void*) {
    thread_local JitStack stack;
    return stack.get();
}

bool isLimitError(int rc) {
    return rc == PCRE2_ERROR_MATCHLIMIT || rc == PCRE2_ERROR_DEPTHLIMIT ||
           rc == PCRE2_ERROR_HEAPLIMIT || rc == PCRE2_ERROR_JIT_STACKLIMIT ||
           rc == PCRE2_ERROR_NOMEMORY;
}

}  // namespace

struct PcreMatch::Data {
    pcre2_match_data* data = nullptr;
    ~Data() { pcre2_match_data_free(data); }
};

PcreMatch::PcreMatch() = default;
PcreMatch::~PcreMatch() = default;
PcreMatch::PcreMatch(PcreMatch&&) noexcept = default;
PcreMatch& PcreMatch::operator=(PcreMatch&&) noexcept = default;

PcreCompileError::PcreCompileError(const QString& message, int code, qsizetype offset)
    : std::runtime_error(message.toStdString()), m_code(code), m_offset(offset) {}

struct PcrePattern::Impl {
    pcre2_code* code = nullptr;
    pcre2_compile_context* compileContext = nullptr;
    pcre2_match_context* matchContext = nullptr;

    ~Impl() {
        pcre2_match_context_free(matchContext);
        pcre2_compile_context_free(compileContext);
        pcre2_code_free(code);
    }
};

PcrePattern::PcrePattern(QStringView pattern, std::uint32_t compileOptions, std::uint32_t newline,
                         Jit jit)
    : m_impl(std::make_unique<Impl>()) {
    m_impl->compileContext = pcre2_compile_context_create(nullptr);
    pcre2_set_newline(m_impl->compileContext, newline);

    int errorCode = 0;
    PCRE2_SIZE errorOffset = 0;
    m_impl->code = pcre2_compile(codeUnits(pattern), static_cast<PCRE2_SIZE>(pattern.size()),
                                 compileOptions | PCRE2_UTF | PCRE2_MATCH_INVALID_UTF, &errorCode,
                                 &errorOffset, m_impl->compileContext);
    if (m_impl->code == nullptr) {
        throw PcreCompileError(errorMessage(errorCode), errorCode,
                               static_cast<qsizetype>(errorOffset));
    }

    std::uint32_t captures = 0;
    pcre2_pattern_info(m_impl->code, PCRE2_INFO_CAPTURECOUNT, &captures);
    m_captureCount = static_cast<int>(captures);

    m_impl->matchContext = pcre2_match_context_create(nullptr);
    pcre2_set_match_limit(m_impl->matchContext, kMatchLimit);
    pcre2_set_depth_limit(m_impl->matchContext, kDepthLimit);
    pcre2_set_heap_limit(m_impl->matchContext, kHeapLimitKiB);
    // Without JIT support the interpreter simply serves every search.
    if (jit == Jit::On && pcre2_jit_compile(m_impl->code, PCRE2_JIT_COMPLETE) == 0) {
        pcre2_jit_stack_assign(m_impl->matchContext, threadJitStack, nullptr);
    }
}

PcrePattern::~PcrePattern() = default;

bool PcrePattern::search(QStringView subject, qsizetype startOffset, std::uint32_t matchOptions,
                         PcreMatch& match) const {
    const auto pairs = static_cast<std::size_t>(m_captureCount) + 1;
    match.groups.assign(pairs, PcreMatch::Span{});

    if (!match.m_data) {
        match.m_data = std::make_unique<PcreMatch::Data>();
    }
    pcre2_match_data*& data = match.m_data->data;
    if (data == nullptr || pcre2_get_ovector_count(data) < pairs) {
        pcre2_match_data_free(data);
        data = pcre2_match_data_create(static_cast<std::uint32_t>(pairs), nullptr);
        if (data == nullptr) {
            throw std::bad_alloc();
        }
    }
    const int rc =
        pcre2_match(m_impl->code, codeUnits(subject), static_cast<PCRE2_SIZE>(subject.size()),
                    static_cast<PCRE2_SIZE>(startOffset), matchOptions, data, m_impl->matchContext);
    if (rc == PCRE2_ERROR_NOMATCH || isLimitError(rc)) {
        return false;
    }
    if (rc < 0) {
        throw std::runtime_error(errorMessage(rc).toStdString());
    }

    const PCRE2_SIZE* offsets = pcre2_get_ovector_pointer(data);
    for (std::size_t i = 0; i < pairs; ++i) {
        if (offsets[2 * i] != PCRE2_UNSET) {
            match.groups[i] = {static_cast<qsizetype>(offsets[2 * i]),
                               static_cast<qsizetype>(offsets[2 * i + 1])};
        }
    }
    return true;
}

}  // namespace larkspan

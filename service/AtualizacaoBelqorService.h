/*
 * The rate service library. Its two entry points ask the tax authority's rate service
 * (operation retornaUltimoIndiceSELIC, SOAP 1.1, document style) for the rate document,
 * one through the intranet and one through the public internet.
 *
 * Texts cross this interface as zero-terminated UTF-16. A text the library returns is
 * allocated here and released only with liberaTextoAtualizacaoBelqor. Failures never
 * cross as exceptions: an entry point returns a status other than ATUALIZACAO_BELQOR_OK
 * and, when asked for, a message in Portuguese fit to show to the user.
 *
 * The addresses, the service namespace and the time-outs are fixed when the library is
 * built; defineDestinoAtualizacaoBelqor replaces them for the rest of the process (the
 * program passes its own configuration, tests point the library at loopback servers).
 * The library is meant for one thread at a time per entry point; the destinations are
 * guarded, so a change from another thread is seen whole or not at all.
 */
#ifndef ATUALIZACAO_BELQOR_SERVICE_H
#define ATUALIZACAO_BELQOR_SERVICE_H

#include <stdint.h>
#ifndef __cplusplus
#include <uchar.h>
#endif

#if defined(ATUALIZACAO_BELQOR_COMPILANDO)
#define ATUALIZACAO_BELQOR_API __attribute__((visibility("default")))
#else
#define ATUALIZACAO_BELQOR_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

enum StatusAtualizacaoBelqor {
    ATUALIZACAO_BELQOR_OK = 0,
    /* A null result slot, an unknown network or a bad destination. */
    ATUALIZACAO_BELQOR_ARGUMENTO_INVALIDO = 1,
    /* The service could not be reached or stopped answering. */
    ATUALIZACAO_BELQOR_SEM_CONEXAO = 2,
    /* The service answered with an HTTP error and no SOAP fault. */
    ATUALIZACAO_BELQOR_ERRO_HTTP = 3,
    /* The service answered with a SOAP fault. */
    ATUALIZACAO_BELQOR_FALHA_SOAP = 4,
    /* The answer is not the envelope the operation returns. */
    ATUALIZACAO_BELQOR_RESPOSTA_INVALIDA = 5,
    /* Memory ran out, or another failure inside the library. */
    ATUALIZACAO_BELQOR_ERRO_INTERNO = 6
};

enum RedeAtualizacaoBelqor { ATUALIZACAO_BELQOR_INTRANET = 0, ATUALIZACAO_BELQOR_INTERNET = 1 };

/* Where one entry point sends its request. Null or empty texts and zero time-outs take
 * the values the library was built with. */
typedef struct DestinoAtualizacaoBelqor {
    const char* endereco;            /* service address, UTF-8, http:// or https:// */
    const char* espacoNomes;         /* service namespace URI, UTF-8 */
    const char* arquivoCertificados; /* trusted certificate authorities; else the system's */
    int32_t tempoConexaoMs;          /* connection and TLS handshake; built-in 10 s */
    int32_t tempoTotalMs;            /* the whole exchange; built-in 60 s */
} DestinoAtualizacaoBelqor;

/*
 * Both entry points have this form.
 * ultimaDataSelic: the last month the caller's table holds, as the caller's text (for
 *   example "01/05/2024"); null when the table is empty, which the request carries as
 *   an empty text. It stays the caller's.
 * resultado: address of the caller's slot. On success the slot receives the rate
 *   document, or null when the service returned no text; null counts as empty text.
 *   On failure it receives null.
 * mensagemErro: null, or the address of a slot that receives the failure's message
 *   (null on success).
 * Returns ATUALIZACAO_BELQOR_OK or the failure's status.
 */
ATUALIZACAO_BELQOR_API int32_t retornaUltimoIndiceSELIC_INTRANET(const char16_t* ultimaDataSelic,
                                                                 char16_t** resultado,
                                                                 char16_t** mensagemErro);
ATUALIZACAO_BELQOR_API int32_t retornaUltimoIndiceSELIC_INTERNET(const char16_t* ultimaDataSelic,
                                                                 char16_t** resultado,
                                                                 char16_t** mensagemErro);

/* Releases a text this library returned; null is allowed. */
ATUALIZACAO_BELQOR_API void liberaTextoAtualizacaoBelqor(char16_t* texto);

/* Points the entry point of one network at a destination for the rest of the process;
 * a null destination restores the built-in one. */
ATUALIZACAO_BELQOR_API int32_t
defineDestinoAtualizacaoBelqor(int32_t rede, const DestinoAtualizacaoBelqor* destino);

#ifdef __cplusplus
}
#endif

#endif

// tls_internal.h - what the TLS files share among themselves and no one
// else needs: the contexts and the fingerprint of a certificate.
#pragma once

#include <openssl/ssl.h>

#include <string>

// The loaded key's context (null when none is loaded).
SSL_CTX *TlsServerContext();
// The clients' context: TLS 1.3 only; the certificate is not checked
// against authorities (the server signs its own), its fingerprint is pinned.
SSL_CTX *TlsClientContext();
// SHA-256 of the certificate's DER form, 64 upper-case hex digits.
std::string TlsCertFingerprint(X509 *cert);

// tls_certificate.cpp - the server's key and self-signed certificate.
// They are made once, at the server's first start with a company file,
// and kept beside it ("COMPANY.KEY", readable by its owner only, and
// "COMPANY.CRT"); every later start loads them, so the fingerprint the
// clients pinned stays the same. A key without its certificate (or the
// other way round) is never replaced silently: the clients' pins would
// all fail, so the server says why and takes no connection instead.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/rand.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>

#include <cstdio>

#include "net/tls.h"
#include "net/tls_internal.h"

namespace {

SSL_CTX *ServerContext = nullptr;
std::string ServerPrint;

std::string WithExtension(const std::string &path, const char *ext) {
    size_t slash = path.find_last_of('/');
    size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return path + ext;
    return path.substr(0, dot) + ext;
}

bool Exists(const std::string &path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
}

// Writes through a file made anew with mode; the caller renames it into
// place, so a crash midway leaves no half-written key under its name.
bool WritePem(const std::string &path, mode_t mode, EVP_PKEY *key, X509 *cert) {
    ::unlink(path.c_str());
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd < 0) return false;
    FILE *f = ::fdopen(fd, "w");
    if (!f) {
        ::close(fd);
        return false;
    }
    bool ok = key ? PEM_write_PrivateKey(f, key, nullptr, nullptr, 0, nullptr, nullptr) == 1
                  : PEM_write_X509(f, cert) == 1;
    ok = std::fflush(f) == 0 && ::fsync(fd) == 0 && ok;
    ok = std::fclose(f) == 0 && ok;
    return ok;
}

// A P-256 key and a certificate for it, signed by itself, valid from an
// hour ago (clocks differ) for thirty years.
bool MakeKeyAndCertificate(EVP_PKEY **keyOut, X509 **certOut) {
    EVP_PKEY *key = EVP_EC_gen("P-256");
    X509 *cert = X509_new();
    bool ok = key && cert;
    uint8_t serial[8];
    ok = ok && RAND_bytes(serial, sizeof serial) == 1;
    if (ok) {
        serial[0] &= 0x7F;   // a positive serial number
        BIGNUM *bn = BN_bin2bn(serial, sizeof serial, nullptr);
        ok = bn && BN_to_ASN1_INTEGER(bn, X509_get_serialNumber(cert)) != nullptr;
        BN_free(bn);
    }
    ok = ok && X509_set_version(cert, 2) == 1 && X509_gmtime_adj(X509_getm_notBefore(cert), -3600) &&
         X509_gmtime_adj(X509_getm_notAfter(cert), 30L * 365 * 24 * 3600) && X509_set_pubkey(cert, key) == 1;
    if (ok) {
        X509_NAME *name = X509_get_subject_name(cert);
        ok = X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC,
                                        reinterpret_cast<const unsigned char *>("Orvel server"), -1, -1, 0) == 1 &&
             X509_set_issuer_name(cert, name) == 1 && X509_sign(cert, key, EVP_sha256()) > 0;
    }
    if (!ok) {
        EVP_PKEY_free(key);
        X509_free(cert);
        return false;
    }
    *keyOut = key;
    *certOut = cert;
    return true;
}

bool SaveBoth(const std::string &keyPath, const std::string &certPath, EVP_PKEY *key, X509 *cert) {
    std::string keyTmp = keyPath + ".new", certTmp = certPath + ".new";
    bool ok = WritePem(keyTmp, 0600, key, nullptr) && WritePem(certTmp, 0644, nullptr, cert) &&
              std::rename(keyTmp.c_str(), keyPath.c_str()) == 0 &&
              std::rename(certTmp.c_str(), certPath.c_str()) == 0;
    if (!ok) {
        ::unlink(keyTmp.c_str());
        ::unlink(certTmp.c_str());
    }
    return ok;
}

bool LoadBoth(const std::string &keyPath, const std::string &certPath, EVP_PKEY **key, X509 **cert) {
    FILE *kf = std::fopen(keyPath.c_str(), "r");
    FILE *cf = std::fopen(certPath.c_str(), "r");
    *key = kf ? PEM_read_PrivateKey(kf, nullptr, nullptr, nullptr) : nullptr;
    *cert = cf ? PEM_read_X509(cf, nullptr, nullptr, nullptr) : nullptr;
    if (kf) std::fclose(kf);
    if (cf) std::fclose(cf);
    if (*key && *cert && X509_check_private_key(*cert, *key) == 1) return true;
    EVP_PKEY_free(*key);
    X509_free(*cert);
    *key = nullptr;
    *cert = nullptr;
    return false;
}

}  // namespace

std::string TlsKeyPath(const std::string &companyPath) { return WithExtension(companyPath, ".KEY"); }
std::string TlsCertPath(const std::string &companyPath) { return WithExtension(companyPath, ".CRT"); }

std::string TlsCertFingerprint(X509 *cert) {
    unsigned char md[EVP_MAX_MD_SIZE];
    unsigned int n = 0;
    if (!cert || X509_digest(cert, EVP_sha256(), md, &n) != 1) return std::string();
    static const char Hex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned int i = 0; i < n; i++) {
        out += Hex[md[i] >> 4];
        out += Hex[md[i] & 15];
    }
    return out;
}

bool TlsServerKeyLoad(const std::string &companyPath, std::string *why) {
    TlsServerKeyDrop();
    if (companyPath.empty()) {
        *why = "No company file is open";
        return false;
    }
    std::string keyPath = TlsKeyPath(companyPath), certPath = TlsCertPath(companyPath);
    bool haveKey = Exists(keyPath), haveCert = Exists(certPath);
    EVP_PKEY *key = nullptr;
    X509 *cert = nullptr;
    if (!haveKey && !haveCert) {
        if (!MakeKeyAndCertificate(&key, &cert)) {
            *why = "The server's key could not be made";
            return false;
        }
        if (!SaveBoth(keyPath, certPath, key, cert)) {
            EVP_PKEY_free(key);
            X509_free(cert);
            *why = "The server's key could not be written beside the company file: " + keyPath;
            return false;
        }
    } else if (!haveKey || !haveCert) {
        *why = "The server's key and certificate must both be beside the company file; one is missing: " +
               (haveKey ? certPath : keyPath);
        return false;
    } else if (!LoadBoth(keyPath, certPath, &key, &cert)) {
        *why = "The server's key or certificate beside the company file is damaged or does not match: " + keyPath;
        return false;
    }
    SSL_CTX *ctx = SSL_CTX_new(TLS_server_method());
    bool ok = ctx && SSL_CTX_set_min_proto_version(ctx, TLS1_3_VERSION) == 1 &&
              SSL_CTX_use_certificate(ctx, cert) == 1 && SSL_CTX_use_PrivateKey(ctx, key) == 1 &&
              SSL_CTX_set_num_tickets(ctx, 0) == 1;   // no resumption: each connection shakes hands anew
    if (ok) ServerPrint = TlsCertFingerprint(cert);
    EVP_PKEY_free(key);
    X509_free(cert);
    if (!ok) {
        SSL_CTX_free(ctx);
        *why = "The server's channel could not be set up";
        return false;
    }
    ServerContext = ctx;
    return true;
}

void TlsServerKeyDrop() {
    SSL_CTX_free(ServerContext);
    ServerContext = nullptr;
    ServerPrint.clear();
}

bool TlsServerReady() { return ServerContext != nullptr; }
std::string TlsServerFingerprint() { return ServerPrint; }
SSL_CTX *TlsServerContext() { return ServerContext; }

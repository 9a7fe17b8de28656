# What makes the shipped files the same from every build of one commit, and
# signs them when a certificate is given.
#
# Reproducible: no link time stamp in the programs, no build folder in their
# texts, and the payload's entries carry the commit's time (SOURCE_DATE_EPOCH
# when the caller sets it, else the commit's own, else 1980-01-01).
#
# Signed: with LUMORIX_SIGN_PKCS12 (a PKCS#12 file) or LUMORIX_SIGN_PKCS11_MODULE
# with LUMORIX_SIGN_PKCS11_KEY and LUMORIX_SIGN_CERTIFICATES (a key on a hardware
# token), every program is signed (SHA-256 Authenticode, osslsigncode) before it
# goes into the payload, then the installer; LUMORIX_SIGN_TIMESTAMP_URL adds an
# RFC 3161 time stamp. LUMORIX_SIGN_PASSWORD_FILE holds the file's password or
# the token's PIN, so that it never appears on a command line.

if(DEFINED ENV{SOURCE_DATE_EPOCH} AND "$ENV{SOURCE_DATE_EPOCH}" MATCHES "^[0-9]+$")
  set(LUMORIX_SOURCE_DATE_EPOCH "$ENV{SOURCE_DATE_EPOCH}")
else()
  execute_process(COMMAND git -C ${CMAKE_SOURCE_DIR} log -1 --format=%ct
                  OUTPUT_VARIABLE LUMORIX_SOURCE_DATE_EPOCH OUTPUT_STRIP_TRAILING_WHITESPACE
                  RESULT_VARIABLE git_status ERROR_QUIET)
  if(NOT git_status EQUAL 0 OR NOT LUMORIX_SOURCE_DATE_EPOCH MATCHES "^[0-9]+$")
    set(LUMORIX_SOURCE_DATE_EPOCH 315532800)
  endif()
endif()

if(WIN32)
  add_link_options(-Wl,--no-insert-timestamp)
  # __FILE__ names files as the source tree does, not where it was cloned.
  add_compile_options(-fmacro-prefix-map=${CMAKE_SOURCE_DIR}/=)
endif()

set(LUMORIX_SIGN_PKCS12 "" CACHE FILEPATH "PKCS#12 file with the code-signing certificate and its key")
set(LUMORIX_SIGN_PKCS11_MODULE "" CACHE FILEPATH "PKCS#11 module of the hardware token that holds the key")
set(LUMORIX_SIGN_PKCS11_KEY "" CACHE STRING "PKCS#11 URI of the key on the token")
set(LUMORIX_SIGN_CERTIFICATES "" CACHE FILEPATH "The signing certificate and its chain (PEM), for a key on a token")
set(LUMORIX_SIGN_PASSWORD_FILE "" CACHE FILEPATH "File holding the PKCS#12 password or the token's PIN")
set(LUMORIX_SIGN_TIMESTAMP_URL "" CACHE STRING "RFC 3161 time-stamp server")

set(LUMORIX_SIGNING_ARGUMENTS)
if(LUMORIX_SIGN_PKCS12)
  list(APPEND LUMORIX_SIGNING_ARGUMENTS --pkcs12 ${LUMORIX_SIGN_PKCS12})
elseif(LUMORIX_SIGN_PKCS11_MODULE)
  if(NOT LUMORIX_SIGN_PKCS11_KEY OR NOT LUMORIX_SIGN_CERTIFICATES)
    message(FATAL_ERROR "A key on a token needs LUMORIX_SIGN_PKCS11_KEY and LUMORIX_SIGN_CERTIFICATES as well")
  endif()
  list(APPEND LUMORIX_SIGNING_ARGUMENTS --pkcs11-module ${LUMORIX_SIGN_PKCS11_MODULE}
       --key ${LUMORIX_SIGN_PKCS11_KEY} --certificates ${LUMORIX_SIGN_CERTIFICATES})
endif()
if(LUMORIX_SIGNING_ARGUMENTS)
  if(LUMORIX_SIGN_PASSWORD_FILE)
    list(APPEND LUMORIX_SIGNING_ARGUMENTS --password-file ${LUMORIX_SIGN_PASSWORD_FILE})
  endif()
  if(LUMORIX_SIGN_TIMESTAMP_URL)
    list(APPEND LUMORIX_SIGNING_ARGUMENTS --timestamp ${LUMORIX_SIGN_TIMESTAMP_URL})
  endif()
  find_program(LUMORIX_OSSLSIGNCODE osslsigncode REQUIRED)
  message(STATUS "Code signing: the programs and the installer are signed")
elseif(WIN32)
  message(STATUS "Code signing: no certificate given; the programs and the installer are unsigned")
endif()

# The command that takes a built program to its shipped form: without its
# debugging information, then signed when the signing arguments (scripts/ship-program's
# options, as LUMORIX_SIGNING_ARGUMENTS holds them) name a certificate.
# lumorix_ship_program_command(VAR INPUT OUTPUT [signing arguments...]) sets VAR
# to the COMMAND line.
function(lumorix_ship_program_command var input output)
  set(${var} COMMAND ${CMAKE_SOURCE_DIR}/scripts/ship-program --strip ${CMAKE_STRIP} ${ARGN} ${input} ${output}
      PARENT_SCOPE)
endfunction()

# Builds dbWords-CODE.mdb for every language below, beside dbWords.mdb, from Debian's word lists,
# spelling dictionaries, hyphenation patterns and FreeDict dictionaries (the languages set of
# scripts/install-deps.sh) and the lists kept in data/CODE. A language whose Debian sources are
# missing is left out with a note, so that English alone still builds. The sanitizer build skips
# them (TESSAVINE_LANGUAGES=OFF): they take minutes and test nothing of the program's memory use.
if(TESSAVINE_SANITIZE)
    set(languages_default OFF)
else()
    set(languages_default ON)
endif()
option(TESSAVINE_LANGUAGES "Build the word databases of the languages other than English"
    ${languages_default})
set(TESSAVINE_LANGUAGE_CODES)
set(language_databases)
if(TESSAVINE_LANGUAGES)

set(dict /usr/share/dict)
set(hunspell /usr/share/hunspell)
set(hyphen /usr/share/hyphen)
set(freedict /usr/share/dictd)
# code | English name | own name | vowels | word list | spelling dictionary (- none) | FreeDict
# (- none) | hyphenation patterns | Apertium analyser for the kinds (- none) | flags
set(TESSAVINE_LANGUAGE_TABLE
    "de|German|Deutsch|aeiouyäöü|ngerman|de_DE|deu-eng|de_DE|-|--capital-nouns"
    "fr|French|Français|aeiouyàâäéèêëîïôöùûüÿœæ|french|fr|fra-eng|fr|apertium-fr-es/fr-es|"
    "es|Spanish|Español|aeiouyáéíóúü|spanish|es_ES|spa-eng|es_ES|apertium-eng-spa/spa-eng|"
    "it|Italian|Italiano|aeiouàèéìíîòóùú|italian|it_IT|-|it_IT|-|"
    "nl|Dutch|Nederlands|aeiouyáéíóúäëïöüàèâêîôû|dutch|nl|-|nl_NL|-|"
    "pl|Polish|Polski|aeiouyąęó|polish|-|-|pl_PL|-|"
    "pt-BR|Brazilian Portuguese|Português brasileiro|aeiouáéíóúâêôãõàü|brazilian|-|-|pt_BR|-|"
    "sv|Swedish|Svenska|aeiouyåäöé|swedish|sv_SE|-|sv_SE|-|--latin1"
    "da|Danish|Dansk|aeiouyæøåé|danish|da_DK|-|da_DK|-|")

foreach(row ${TESSAVINE_LANGUAGE_TABLE})
    string(REPLACE "|" ";" fields "${row}")
    list(GET fields 0 code)
    list(GET fields 1 name)
    list(GET fields 2 native)
    list(GET fields 3 vowels)
    list(GET fields 4 wordlist)
    list(GET fields 5 stems)
    list(GET fields 6 translations)
    list(GET fields 7 patterns)
    list(GET fields 8 analyser)
    list(GET fields 9 flags)
    set(data ${PROJECT_SOURCE_DIR}/data/${code})
    set(inputs ${dict}/${wordlist} ${hyphen}/hyph_${patterns}.dic ${data}/frequency.txt
        ${data}/offensive.txt ${data}/classroom.txt)
    set(args --language ${code} --name ${name} --native ${native} --vowels ${vowels}
        --words ${dict}/${wordlist} --hyphen ${hyphen}/hyph_${patterns}.dic
        --frequency ${data}/frequency.txt --offensive ${data}/offensive.txt
        --classroom ${data}/classroom.txt)
    set(source "word list: Debian w${wordlist}")
    if(NOT stems STREQUAL "-")
        list(APPEND inputs ${hunspell}/${stems}.dic)
        list(APPEND args --stems ${hunspell}/${stems}.dic)
        string(APPEND source ", forms limited to hunspell ${stems} stems and")
    else()
        string(APPEND source ", forms limited to")
    endif()
    string(APPEND source " the frequency list of data/${code}. Syllables: hyphen patterns "
        "hyph_${patterns}. Offensive: data/${code}/offensive.txt")
    if(NOT translations STREQUAL "-")
        list(APPEND inputs ${freedict}/freedict-${translations}.index)
        list(APPEND args --freedict ${freedict}/freedict-${translations})
        string(APPEND source ". Translations: FreeDict ${translations}")
    endif()
    set(analysis_step)
    if(NOT analyser STREQUAL "-")
        set(analyser /usr/share/apertium/${analyser}.automorf.bin)
        set(analysis ${CMAKE_BINARY_DIR}/languages/${code}.analysis)
        list(APPEND inputs ${analyser})
        list(APPEND args --analysis ${analysis})
        set(analysis_step COMMAND lt-proc -a ${analyser} ${dict}/${wordlist} ${analysis})
    endif()
    if(EXISTS ${data}/names.txt)
        list(APPEND inputs ${data}/names.txt)
        list(APPEND args --names ${data}/names.txt)
    endif()
    if(flags)
        list(APPEND args ${flags})
    endif()
    # Where nouns are capitalised, WordNet tells the English names among the translations
    # (Africa), so that the nouns that are names (Afrika) are left out.
    if(flags MATCHES "--capital-nouns" AND NOT translations STREQUAL "-")
        list(APPEND inputs /usr/share/wordnet/data.noun)
        list(APPEND args --wordnet /usr/share/wordnet/data.noun)
    endif()
    set(missing)
    foreach(input ${inputs})
        if(NOT EXISTS "${input}")
            list(APPEND missing ${input})
        endif()
    endforeach()
    if(missing)
        message(STATUS "Not building dbWords-${code}.mdb: ${missing} missing (install the "
            "languages set of scripts/install-deps.sh)")
        continue()
    endif()
    set(facts ${CMAKE_BINARY_DIR}/languages/${code}.tsv)
    set(database ${CMAKE_BINARY_DIR}/dbWords-${code}.mdb)
    add_custom_command(OUTPUT ${database}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/languages
        ${analysis_step}
        COMMAND build_language_words ${args} --source ${source} ${facts}
        COMMAND build_word_database --ready-facts ${facts} ${database}
        DEPENDS build_language_words build_word_database ${inputs}
        COMMENT "Building dbWords-${code}.mdb"
        VERBATIM)
    list(APPEND language_databases ${database})
    list(APPEND TESSAVINE_LANGUAGE_CODES ${code})

    # A Debian package per language (tessavine-words-de), as wngerman sits beside wamerican; its
    # copyright names the Debian packages the words come from, with their own notices, and the
    # lists kept here.
    string(TOLOWER "words-${code}" component)
    string(TOUPPER "${component}" upper)
    install(FILES ${database} DESTINATION ${CMAKE_INSTALL_LIBDIR}/tessavine COMPONENT ${component})
    set(notices "Files: usr/lib/tessavine/dbWords-${code}.mdb\nSource: ${source}\n\n")
    foreach(input ${inputs})
        if(input MATCHES "^/usr/")
            execute_process(COMMAND dpkg-query -S ${input} OUTPUT_VARIABLE owner
                ERROR_QUIET OUTPUT_STRIP_TRAILING_WHITESPACE)
            string(REGEX REPLACE ":.*" "" owner "${owner}")
            if(owner AND EXISTS /usr/share/doc/${owner}/copyright)
                file(READ /usr/share/doc/${owner}/copyright text)
                string(APPEND notices "=== Debian package ${owner} ===\n${text}\n")
            endif()
        endif()
    endforeach()
    file(READ ${PROJECT_SOURCE_DIR}/data/LANGUAGES.md text)
    string(APPEND notices "=== data/${code} ===\n${text}\n")
    foreach(licence naughty-words-CC-BY-4.0 cuss-MIT french-badwords-list-MIT zxcvbn-ts-MIT)
        file(READ ${PROJECT_SOURCE_DIR}/data/licences/${licence}.txt text)
        string(APPEND notices "=== ${licence} ===\n${text}\n")
    endforeach()
    file(WRITE ${CMAKE_BINARY_DIR}/languages/copyright-${code} "${notices}")
    install(FILES ${CMAKE_BINARY_DIR}/languages/copyright-${code} RENAME copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tessavine-${component} COMPONENT ${component})
    set(CPACK_DEBIAN_${upper}_PACKAGE_NAME tessavine-${component})
    set(CPACK_DEBIAN_${upper}_PACKAGE_DEPENDS "tessavine (= ${PROJECT_VERSION})")
    set(CPACK_DEBIAN_${upper}_PACKAGE_SHLIBDEPS OFF)
    set(CPACK_DEBIAN_${upper}_PACKAGE_ARCHITECTURE all)
    # The main package's recommendations are the window's, not the words'.
    set(CPACK_DEBIAN_${upper}_PACKAGE_RECOMMENDS "")
    set(CPACK_DEBIAN_${upper}_PACKAGE_SUGGESTS "")
    set(CPACK_DEBIAN_${upper}_PACKAGE_SECTION text)
    string(CONCAT CPACK_DEBIAN_${upper}_DESCRIPTION "${name} words for Tessavine\n"
        "The ${name} (${native}) words that Tessavine draws from with --language ${code},\n"
        "with the facts its sources give: commonness, kinds, syllables, offensive marks.")
endforeach()
endif()
add_custom_target(language_databases ALL DEPENDS ${language_databases})
if(TESSAVINE_LANGUAGE_CODES)
    # The main package keeps its name and holds English; each language is a package of its own.
    set(CPACK_DEB_COMPONENT_INSTALL ON)
    set(CPACK_DEBIAN_UNSPECIFIED_PACKAGE_NAME tessavine)
endif()

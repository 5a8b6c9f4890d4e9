// Which of the program's resource languages the page shows: the program's
// rule, applied to the browser's first language. Japanese for Japanese, and
// when the browser names none; English for any other language; the first
// resource language when the chosen one is not there.

// Primary language identifiers of the resources, and their language tags.
const TAGS = { 0x09: "en", 0x11: "ja" };

export function tagOf(language) {
  return TAGS[language & 0x3ff] ?? `x-${language}`;
}

export function chooseLanguage(languages, browserLanguages) {
  for (const lang of languages) lang.tag = tagOf(lang.language);
  const first = (browserLanguages[0] ?? "ja").toLowerCase();
  const wanted = first === "ja" || first.startsWith("ja-") ? "ja" : "en";
  return languages.find((l) => l.tag === wanted) ?? languages[0];
}
